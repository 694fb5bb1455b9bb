// New shade rows drawn from the platform's cryptographic random source.
#include "foundation/win32/NRandomCrypto.h"
#include "shades/LMShades.h"

#include <gtest/gtest.h>

#include <set>

TEST(LMShadesCrypto, NewRowsAreDistinctAndValid)
{
    LMShades s;
    std::set<std::wstring> guids, names;
    for (int i = 0; i < 50; ++i) {
        int index = s.NewRow(NRandomCrypto::Instance());
        ASSERT_EQ(index, 12 + i);
        const SLMShade& row = s.Row(static_cast<size_t>(index));
        EXPECT_TRUE(guids.insert(row.guid.ToText()).second);
        EXPECT_TRUE(names.insert(row.name).second);
        EXPECT_EQ(row.name.size(), 11u);
        EXPECT_EQ(row.guid.ToText()[14], L'4');  // version 4
        EXPECT_TRUE(row.HasValidMark());
        EXPECT_TRUE(SLMShade::IsPrintable(row.prefix));
    }
    LMShades back;
    ASSERT_TRUE(back.FromJson(s.ToJson(true)));
    EXPECT_EQ(back.RowCount(), 62u);
}
