#include "app/LMConsConfigRow.h"

#include "config/IConsoleLink.h"
#include "config/LMConsConfig.h"

bool LMConsConfigRow::IsSelected() const { return m_config->IsSelected(); }
bool LMConsConfigRow::IsEnabled() const { return m_config->Settings().Enabled.Get(); }
bool LMConsConfigRow::IsOpen() const { return m_config->ConsoleThread() != nullptr; }

bool LMConsConfigRow::IsConnected() const
{
    const ILMCommLink* worker = m_config->CommThread();
    return worker != nullptr && worker->ConnectionState() == ILMCommLink::kConnected;
}

bool LMConsConfigRow::IsPortPresent() const { return !m_config->IsPortMissing(); }
bool LMConsConfigRow::IsSerialModeValid() const { return !m_config->IsSerialModeBad(); }
bool LMConsConfigRow::IsPortBusy() const { return m_config->IsPortBusy(); }
