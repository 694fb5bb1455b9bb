#include "widgets/win32/DialogTemplate.h"

#include <cstring>
#include <cwchar>

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title, WORD pointSize,
                               const wchar_t* face)
{
    DLGTEMPLATE dlg{};
    dlg.style = style | DS_SETFONT;
    dlg.cx = cx;
    dlg.cy = cy;
    Put(&dlg, sizeof dlg);
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(title);
    Word(pointSize);
    Text(face);
}

void DialogTemplate::AddItem(WORD cls, int id, DWORD style, short x, short y, short cx, short cy,
                             const wchar_t* text)
{
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = static_cast<WORD>(id);
    Put(&item, sizeof item);
    Word(0xFFFF);
    Word(cls);
    Text(text);
    Word(0);  // no creation data
    // cdit sits at a fixed offset; the vector may have moved, so patch it here.
    auto* header = reinterpret_cast<DLGTEMPLATE*>(m_bytes.data());
    ++header->cdit;
}

void DialogTemplate::Put(const void* data, size_t size)
{
    // resize + memcpy rather than insert: GCC 12 warns falsely about
    // inserting a range into the empty vector.
    const size_t at = m_bytes.size();
    m_bytes.resize(at + size);
    std::memcpy(m_bytes.data() + at, data, size);
}

void DialogTemplate::Text(const wchar_t* text)
{
    if (text == nullptr)
        text = L"";
    Put(text, (std::wcslen(text) + 1) * sizeof(wchar_t));
}

void DialogTemplate::Align()
{
    while (m_bytes.size() % 4 != 0)
        m_bytes.push_back(0);
}
