// Loading and saving the console list.
#include "app/LMConsListOrder.h"
#include "app/win32/LMBaseDrawnView.h"
#include "config/LMConsConfig.h"
#include "config/win32/NRegKey.h"
#include "transport/win32/NCOMPortEnumThread.h"

void LMBaseDrawnView::LoadList()
{
    m_list.Clear();
    NRegKey base;
    NSTRList names;
    // An unreadable key is an empty list, not an error.
    if (!base.Open(BaseKeyPath(), nreg::kKeyRead) || !base.EnumSubKeys(names))
        return;
    base.Close();
    std::vector<std::unique_ptr<LMConsConfig>> loaded;
    loaded.reserve(names.size());
    for (const std::wstring& name : names) {
        auto config = std::make_unique<LMConsConfig>();
        config->SetEnvironment(&m_env);
        NRegKey key;
        // A key whose values cannot be read keeps the defaults, so the console
        // still shows up and can be repaired or removed.
        config->Load(name, key);
        loaded.push_back(std::move(config));
    }
    m_list.AssignLoaded(std::move(loaded));
    NCOMPortEnumThread::Global().RequestScan(true);
}

void LMBaseDrawnView::SaveList()
{
    NRegKey base;
    NSTRList listed;
    const bool listedOk = base.Open(BaseKeyPath(), nreg::kKeyReadWrite | nreg::kKeyCreateSubKey) &&
                          base.EnumSubKeys(listed);
    // Rows keep their ListIndex after a removal, and a console added next
    // takes the row count as its index, which can equal a kept one; two keys
    // with one index would reload in key-name order. Numbering the rows as
    // they stand keeps the stored order the order on screen.
    m_list.Renumber();
    // An open console writes its window placements into its configuration
    // when its window closes; closing it only when the list is emptied (after
    // the save) would lose them. All are asked first so that they close side
    // by side; a window takes a few seconds to go under some systems, so the
    // wait is longer than the configuration's own.
    for (size_t i = 0; i < m_list.Count(); ++i)
        m_list.At(i)->PostToConsole(LMConsConfig::kWmClose);
    for (size_t i = 0; i < m_list.Count(); ++i)
        m_list.At(i)->CloseConsole(kExitCloseTimeoutMs);
    for (size_t i = 0; i < m_list.Count(); ++i) {
        NRegKey key;
        m_list.At(i)->Save(key);
    }
    // Only what was listed is deleted: when the listing failed, nothing is.
    if (listedOk)
        for (const std::wstring& stale : LMStaleKeyNames(listed, m_list.KeyNames()))
            base.DeleteKey(stale);
    m_list.Clear();
}

void LMBaseDrawnView::RefreshPorts()
{
    NCOMPortEnum list;
    if (NCOMPortEnumThread::Global().CopyList(list))
        m_ports.Assign(std::move(list));
}
