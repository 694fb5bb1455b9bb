#pragma once
// The worker's view of a console configuration. Nothing is cached: every call
// reads the configuration again (strings under its lock, numbers and flags as
// single atomic loads), so a setting the user changes while connected takes
// effect at the worker's next read. Safe to call from the worker thread while
// the console's window thread applies new settings.
#include "comm/ILMCommConfig.h"

class LMConsConfig;

class LMConsCommConfig : public ILMCommConfig {
public:
    // config must outlive this object.
    explicit LMConsCommConfig(LMConsConfig& config) noexcept : m_config(config) {}

    uint32_t ConMode() const override;
    std::wstring HostPort() const override;
    std::wstring DevAddr() const override;
    std::wstring ComPort() const override;
    std::wstring SerMode() const override;
    std::wstring AltMode() const override;
    uint32_t RxTerm() const override;
    uint32_t RxWrap() const override;
    uint32_t RxTimeoutMs() const override;
    uint32_t TxTerm() const override;
    bool IgnoreNDE() const override;
    const LMShades* Shades() const override;
    // Through the configuration's port directory; empty without one.
    std::wstring DevAddrOfComPort(std::wstring_view port) const override;
    std::wstring ComPortOfDevAddr(std::wstring_view devAddr) const override;

private:
    LMConsConfig& m_config;
};
