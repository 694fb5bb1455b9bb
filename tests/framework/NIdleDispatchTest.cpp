#include "framework/NIdleDispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class Recorder : public NIdleDispatch {
public:
    Recorder(int32_t limit, bool answer, std::vector<std::string>& log, std::string name)
        : NIdleDispatch(limit), m_answer(answer), m_log(log), m_name(std::move(name))
    {
    }
    bool OnIdleStep(long count) override
    {
        m_log.push_back(m_name + ":step" + std::to_string(count));
        return m_answer;
    }
    void OnIdleEnd() override { m_log.push_back(m_name + ":end"); }

private:
    bool m_answer;
    std::vector<std::string>& m_log;
    std::string m_name;
};
}  // namespace

TEST(NIdleDispatch, NoHandlersWantNothing)
{
    EXPECT_FALSE(NIdleDispatch::RunAll(0));
}

TEST(NIdleDispatch, PassLimitForcesIdleTimeThenEnds)
{
    std::vector<std::string> log;
    Recorder limited(3, false, log, "a");
    limited.Register();
    EXPECT_TRUE(NIdleDispatch::RunAll(0));  // below the limit: more idle whatever it says
    EXPECT_TRUE(NIdleDispatch::RunAll(2));
    EXPECT_FALSE(NIdleDispatch::RunAll(3));  // at the limit: end, then a step that wants nothing
    EXPECT_FALSE(NIdleDispatch::RunAll(4));
    EXPECT_EQ(log, (std::vector<std::string>{"a:step0", "a:step2", "a:end", "a:step3", "a:step4"}));
}

TEST(NIdleDispatch, HandlersRunInOrderAndAnyAnswerCounts)
{
    std::vector<std::string> log;
    Recorder quiet(0, false, log, "q");
    Recorder eager(-5, true, log, "e");  // non-positive limit: plain step
    quiet.Register();
    eager.Register();
    eager.Register();  // twice registers once
    EXPECT_TRUE(NIdleDispatch::RunAll(7));
    EXPECT_EQ(log, (std::vector<std::string>{"q:step7", "e:step7"}));
    eager.Unregister();
    log.clear();
    EXPECT_FALSE(NIdleDispatch::RunAll(8));
    EXPECT_EQ(log, (std::vector<std::string>{"q:step8"}));
}

TEST(NIdleDispatch, DestroyedHandlerIsNoLongerCalled)
{
    std::vector<std::string> log;
    {
        Recorder gone(0, true, log, "g");
        gone.Register();
    }
    EXPECT_FALSE(NIdleDispatch::RunAll(0));
    EXPECT_TRUE(log.empty());
}
