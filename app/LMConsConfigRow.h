#pragma once
// A configuration seen as a list row: the record's atomic flags and the
// configuration's port and link queries.
#include "app/ILMConsRow.h"

class LMConsConfig;

class LMConsConfigRow : public ILMConsRow {
public:
    explicit LMConsConfigRow(const LMConsConfig& config) : m_config(&config) {}

    bool IsSelected() const override;
    bool IsEnabled() const override;
    bool IsOpen() const override;
    bool IsConnected() const override;
    bool IsPortPresent() const override;
    bool IsSerialModeValid() const override;
    bool IsPortBusy() const override;

private:
    const LMConsConfig* m_config;
};
