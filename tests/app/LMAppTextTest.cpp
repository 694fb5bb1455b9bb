#include <gtest/gtest.h>

#include "app/LMInstanceName.h"
#include "config/LMMessageNames.h"
#include "app/LMVersionText.h"

#include <set>
#include <string>

TEST(LMVersionText, FormatsProductBuildKindAndVersion)
{
    SLMVersion v;
    v.productName = L"Lumbra";
    v.parts[0] = 1;
    v.parts[1] = 20;
    v.parts[2] = 3;
    EXPECT_EQ(LMFormatVersion(L"%p %g %V", v), L"Lumbra Release 1.20.3");
    v.debug = true;
    v.parts[3] = 65535;
    EXPECT_EQ(LMFormatVersion(L"%p %g %V", v), L"Lumbra Debug 1.20.3.65535");
    EXPECT_EQ(LMFormatVersion(L"100%% %x %", v), L"100% %x %");
    EXPECT_EQ(LMFormatVersion(L"", v), L"");
}

TEST(LMInstanceName, FileNameTabWakeUpEvent)
{
    EXPECT_EQ(LMWakeUpEventName(L"C:\\Program Files\\Vexal\\Lumbra.exe"), L"Lumbra.exe\tWakeUpEvent");
    EXPECT_EQ(LMWakeUpEventName(L"Lumbra2.exe"), L"Lumbra2.exe\tWakeUpEvent");
    EXPECT_EQ(LMWakeUpEventName(L"C:\\dir\\"), L"\tWakeUpEvent");
}

TEST(LMMessageNames, EveryNameIsDistinctAndOwnedByItsClass)
{
    std::set<std::wstring> seen;
    for (size_t i = 0; i < lmmsg::kCount; ++i) {
        const std::wstring name = lmmsg::Name(static_cast<lmmsg::EMessage>(i));
        EXPECT_NE(name.find(L"::ms_cn"), std::wstring::npos) << i;
        EXPECT_TRUE(seen.insert(name).second) << i;
    }
    EXPECT_EQ(std::wstring(lmmsg::Name(lmmsg::kBringToFront)), L"LMConsConfig::ms_cnMsgIDBringToFront");
    EXPECT_EQ(std::wstring(lmmsg::Name(lmmsg::kFromLog)), L"LMConsView::ms_cnFromLogMsgID");
    EXPECT_EQ(std::wstring(lmmsg::Name(lmmsg::kCount)), L"");
}
