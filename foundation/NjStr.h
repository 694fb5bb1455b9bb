#pragma once
// A JSON string: UTF-16 code units in an owned buffer. Immutable once made, so its
// payload may be read without a lock while a reference is held.
#include "foundation/NjCom.h"

#include <string>
#include <string_view>

class NjStr : public NjCom {
    N_DECLARE_CLASS_INFO(NjStr)
public:
    explicit NjStr(std::wstring_view text) : m_text(text) {}
    explicit NjStr(std::wstring&& text) : m_text(std::move(text)) {}
    const std::wstring& Text() const { return m_text; }

    int Type() const override { return kNjString; }
    size_t Count() const override { return m_text.size(); }
    const void* Payload() const override { return m_text.c_str(); }
    bool Equals(const NjEle& other, int depth) const override;
    bool Write(NjOutCtx& ctx) const override;

private:
    const std::wstring m_text;
};
