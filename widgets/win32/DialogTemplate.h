#pragma once
// An in-memory dialog template (DLGTEMPLATE with DS_SETFONT and its items),
// so a widget's dialog needs no resource script of its own. Coordinates are
// dialog units.
#include <windows.h>

#include <cstdint>
#include <vector>

class DialogTemplate {
public:
    // Predefined control classes by their atom.
    static constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title, WORD pointSize, const wchar_t* face);
    void AddItem(WORD cls, int id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text);

    const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

private:
    void Put(const void* data, size_t size);
    void Word(WORD w) { Put(&w, sizeof w); }
    void Text(const wchar_t* text);
    void Align();

    std::vector<uint8_t> m_bytes;
};
