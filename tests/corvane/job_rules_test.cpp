#include "corvane/job_result.h"
#include "corvane/job_slots.h"
#include "corvane/message_rules.h"
#include "corvane/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

using corvane::MessageReply;

void ExpectTitle(const MessageReply& reply, const char* title)
{
    ASSERT_NE(reply.newTitle, nullptr);
    EXPECT_STREQ(reply.newTitle, title);
    EXPECT_FALSE(reply.setsResponse);
}

void ExpectResponse(const MessageReply& reply, std::int32_t response)
{
    EXPECT_EQ(reply.newTitle, nullptr);
    EXPECT_TRUE(reply.setsResponse);
    EXPECT_EQ(reply.response, response);
}

void ExpectNothing(const MessageReply& reply)
{
    EXPECT_EQ(reply.newTitle, nullptr);
    EXPECT_FALSE(reply.setsResponse);
}

TEST(MessageRules, ExtractionAnswersQuestionsAndRetitlesTheRest)
{
    for (int code : {0, 1, 10})
        ExpectResponse(corvane::UnzipMessageReply(code), 2);
    ExpectResponse(corvane::UnzipMessageReply(13), 1);
    for (int code : {2, 3, 4, 5, 6, 9, 11, 12})
        ExpectTitle(corvane::UnzipMessageReply(code), "My UnZIP");
    for (int code : {7, 8, 14, 20, 100, -1, -13})
        ExpectNothing(corvane::UnzipMessageReply(code));
}

TEST(MessageRules, CompressionRetitlesAndNeverAnswersTwo)
{
    for (int code : {0, 1, 10})
        ExpectTitle(corvane::ZipMessageReply(code), "My Multi-Volume ZIP");
    for (int code : {2, 3, 4, 5, 6, 9, 11, 12})
        ExpectTitle(corvane::ZipMessageReply(code), "My ZIP");
    ExpectResponse(corvane::ZipMessageReply(13), 1);
    for (int code : {7, 8, 14, 20, -1})
        ExpectNothing(corvane::ZipMessageReply(code));
    for (int code = -5; code < 40; ++code) {
        const MessageReply reply = corvane::ZipMessageReply(code);
        EXPECT_FALSE(reply.setsResponse && reply.response == 2) << code;
    }
}

TEST(JobLoop, ResultFollowsTheFlagsAndTheStartOutcome)
{
    using corvane::StartOutcome;
    int result = -1;
    EXPECT_FALSE(corvane::JobLoopFinished(StartOutcome::Pending, false, false, result));
    EXPECT_FALSE(corvane::JobLoopFinished(StartOutcome::Ran, false, false, result));

    ASSERT_TRUE(corvane::JobLoopFinished(StartOutcome::Ran, true, false, result));
    EXPECT_EQ(result, corvane::kJobSucceeded);
    ASSERT_TRUE(corvane::JobLoopFinished(StartOutcome::Ran, true, true, result));
    EXPECT_EQ(result, corvane::kJobCancelled);
    ASSERT_TRUE(corvane::JobLoopFinished(StartOutcome::Pending, false, true, result));
    EXPECT_EQ(result, corvane::kJobCancelled);
    ASSERT_TRUE(corvane::JobLoopFinished(StartOutcome::NoSlot, true, false, result));
    EXPECT_EQ(result, corvane::kJobNoSlot);
    ASSERT_TRUE(corvane::JobLoopFinished(StartOutcome::LockTimeout, true, false, result));
    EXPECT_EQ(result, corvane::kJobLockTimeout);
}

TEST(JobLoop, MessagesOfTheResults)
{
    EXPECT_EQ(corvane::MessageIdForResult(corvane::kJobSucceeded), 0u);
    EXPECT_EQ(corvane::MessageIdForResult(corvane::kJobCancelled), 0u);
    EXPECT_EQ(corvane::MessageIdForResult(corvane::kJobNoSlot), unsigned(IDS_NO_MORE_THREADS));
    EXPECT_EQ(corvane::MessageIdForResult(corvane::kJobNoDialog), unsigned(IDS_NO_STATUS_DIALOG));
    EXPECT_EQ(corvane::MessageIdForResult(corvane::kJobLockTimeout), unsigned(IDS_THREAD_TIMEOUT));
}

struct FakeThread {};
struct FakeDialog {};

TEST(JobSlots, HundredJobsTakeDistinctSlotsInOrderThenTheTableIsFull)
{
    corvane::JobSlotTable<FakeThread, FakeDialog> table;
    std::vector<FakeThread> threads(corvane::kJobSlots + 1);
    std::vector<FakeDialog> dialogs(corvane::kJobSlots + 1);
    EXPECT_EQ(table.Count(), 0);
    for (int i = 0; i < corvane::kJobSlots; ++i) {
        EXPECT_EQ(table.Take(&threads[i], &dialogs[i]), i);
        EXPECT_EQ(table.At(i).thread, &threads[i]);
        EXPECT_EQ(table.At(i).dialog, &dialogs[i]);
    }
    EXPECT_EQ(table.Count(), corvane::kJobSlots);
    EXPECT_EQ(table.Take(&threads.back(), &dialogs.back()), -1);
    EXPECT_EQ(table.Count(), corvane::kJobSlots);
}

TEST(JobSlots, ConcurrentJobsOfBothKindsNeverShareASlot)
{
    corvane::JobSlotTable<FakeThread, FakeDialog> table;
    std::vector<FakeThread> threads(120);
    std::vector<int> taken(threads.size(), -2);
    std::vector<std::thread> workers;
    for (size_t w = 0; w < 4; ++w)
        workers.emplace_back([&, w] {
            for (size_t i = w; i < threads.size(); i += 4)
                taken[i] = table.Take(&threads[i], nullptr);
        });
    for (auto& worker : workers)
        worker.join();
    std::set<int> slots;
    int refused = 0;
    for (int slot : taken) {
        if (slot == -1)
            ++refused;
        else
            EXPECT_TRUE(slots.insert(slot).second) << "slot " << slot << " taken twice";
    }
    EXPECT_EQ(slots.size(), size_t(corvane::kJobSlots));
    EXPECT_EQ(refused, 20);
    EXPECT_EQ(table.Count(), corvane::kJobSlots);
}

} // namespace
