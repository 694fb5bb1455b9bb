#include "comm/LMConsCommConfig.h"

#include "config/IComPortDirectory.h"
#include "config/LMConsConfig.h"
#include "config/LMConsEnvironment.h"

uint32_t LMConsCommConfig::ConMode() const { return m_config.Settings().ConMode.Get(); }
std::wstring LMConsCommConfig::HostPort() const { return m_config.CopyString(&LMConsSettings::HostPort); }
std::wstring LMConsCommConfig::DevAddr() const { return m_config.CopyString(&LMConsSettings::DevAddr); }
std::wstring LMConsCommConfig::ComPort() const { return m_config.CopyString(&LMConsSettings::COMPort); }
std::wstring LMConsCommConfig::SerMode() const { return m_config.CopyString(&LMConsSettings::SerMode); }
std::wstring LMConsCommConfig::AltMode() const { return m_config.CopyString(&LMConsSettings::AltMode); }
uint32_t LMConsCommConfig::RxTerm() const { return m_config.Settings().RxTerm.Get(); }
uint32_t LMConsCommConfig::RxWrap() const { return m_config.Settings().RxWrap.Get(); }
uint32_t LMConsCommConfig::RxTimeoutMs() const { return m_config.Settings().RxTO.Get(); }
uint32_t LMConsCommConfig::TxTerm() const { return m_config.Settings().TxTerm.Get(); }
bool LMConsCommConfig::IgnoreNDE() const { return m_config.Settings().IgnoreNDE.Get(); }
const LMShades* LMConsCommConfig::Shades() const { return m_config.CurrentShades(); }

std::wstring LMConsCommConfig::DevAddrOfComPort(std::wstring_view port) const
{
    const SLMConsEnvironment* env = m_config.Environment();
    if (env == nullptr || env->ports == nullptr)
        return {};
    return env->ports->DevAddrOfComPort(port);
}

std::wstring LMConsCommConfig::ComPortOfDevAddr(std::wstring_view devAddr) const
{
    const SLMConsEnvironment* env = m_config.Environment();
    if (env == nullptr || env->ports == nullptr)
        return {};
    return env->ports->ComPortOfDevAddr(devAddr);
}
