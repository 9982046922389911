// Property write order of a run, the option word and the result display.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/ulmarsh/fake_control.h"
#include "ulmarsh/unzip_events.h"
#include "ulmarsh/unzip_props.h"
#include "ulmarsh/unzip_run.h"

namespace ulmarsh {
namespace {

using testing::FakeControl;

class UnzipRunTest : public ::testing::Test {
protected:
    UnzipRunTest() {
        const Prop all[] = {unzip::ZIPFile, unzip::FileSpec, unzip::Index, unzip::Destination,
                            unzip::AuxFlagA, unzip::MajorStatusFlag, unzip::MinorStatusFlag,
                            unzip::FreshenFlag, unzip::UpdateFlag, unzip::OverwriteFlag,
                            unzip::QuietFlag, unzip::TestFlag, unzip::NoDirectoryItemsFlag,
                            unzip::RecurseFlag, unzip::NoDirectoryNamesFlag, unzip::Count,
                            unzip::ReturnString, unzip::DiagnosticLogFlag, unzip::LFtoCRLFFlag,
                            unzip::DecryptFlag, unzip::DecryptCode, unzip::AuxFlagB,
                            unzip::OptionBits, unzip::ReturnValue, unzip::Action,
                            unzip::AllowRenamingFlag, unzip::ExtProgTitle,
                            unzip::StartingOffset, unzip::CharsToUnZIP, unzip::UnZIPString,
                            unzip::ZIIndex, unzip::ZIoSize, unzip::ZIcSize, unzip::ZIcMethod,
                            unzip::ZICPathType, unzip::ZIcrc32, unzip::ZIszDateTime,
                            unzip::ZIszFileName, unzip::ZIattr};
        for (const Prop& p : all) control.names[p.dispid] = p.name;
        for (FakeControl* s : {&major, &minor}) {
            s->names[status::Percent.dispid] = "Percent";
            s->names[status::StatusText.dispid] = "StatusText";
        }
        // Form-load defaults of the three status tick boxes.
        in.majorStatus = in.minorStatus = in.minorCancel = true;
    }

    std::vector<std::string> OptionBitWrites() const {
        std::vector<std::string> out;
        for (const auto& p : control.Puts())
            if (p.rfind("put OptionBits=", 0) == 0) out.push_back(p);
        return out;
    }

    void Apply() {
        ApplyUnzipOptions(session, state, control, major, minor, in, "a.zip", "*.txt");
    }

    RunTargets Targets() { return RunTargets{control, major, minor, events}; }

    FakeControl control{"unzipctrl"};
    FakeControl major{"MajorStatusCtrl"};
    FakeControl minor{"MinorStatusCtrl"};
    PropertySession session;
    PropertySession events;  // the status handlers' session
    Module1 state;
    UnzipOptionInputs in;
};

TEST_F(UnzipRunTest, DefaultsGiveOnlyMinorCancelBit) {
    Apply();
    EXPECT_EQ(control.Number(unzip::OptionBits.dispid), 2);
    EXPECT_EQ(OptionBitWrites(),
              (std::vector<std::string>{"put OptionBits=0", "put OptionBits=2"}));
}

TEST_F(UnzipRunTest, OptionBitsCollectEverySource) {
    in.optionStates[kOverwriteReadOnly] = 1;
    in.optionStates[kLogUnzipResults] = 1;
    in.optionStates[kForceRemoveable] = 1;
    in.ignoreLongNames = in.mangleLongNames = true;
    in.useExternalProgress = in.extCancel = true;
    Apply();
    EXPECT_EQ(control.Number(unzip::OptionBits.dispid), 1 | 2 | 4 | 8 | 16 | 32 | 128 | 256);
    // Each addition reads the word back and writes the sum, in the fixed order.
    EXPECT_EQ(OptionBitWrites(),
              (std::vector<std::string>{"put OptionBits=0", "put OptionBits=1",
                                        "put OptionBits=257", "put OptionBits=385",
                                        "put OptionBits=401", "put OptionBits=433",
                                        "put OptionBits=435", "put OptionBits=439",
                                        "put OptionBits=447"}));
}

TEST_F(UnzipRunTest, BothLongNameMenusAddTheirBits) {
    in.minorCancel = false;
    in.ignoreLongNames = in.mangleLongNames = true;
    Apply();
    EXPECT_EQ(control.Number(unzip::OptionBits.dispid), 48);
}

TEST_F(UnzipRunTest, OptionBitsAddAsUnsignedWordsToBitsTheControlHolds) {
    in.optionStates[kOverwriteReadOnly] = 1;
    in.optionStates[kLogUnzipResults] = 1;
    in.optionStates[kForceRemoveable] = 1;
    in.ignoreLongNames = in.mangleLongNames = true;
    in.useExternalProgress = in.extCancel = true;
    for (const uint32_t own : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFF00u}) {
        SCOPED_TRACE(own);
        // The control sets bits of its own when the word is reset.
        bool reset = true;
        control.onI4Put = [&](int32_t id, int32_t) {
            if (id != unzip::OptionBits.dispid || !reset) return;
            reset = false;
            control.SetNumber(id, static_cast<int32_t>(own));
        };
        Apply();
        EXPECT_EQ(control.Number(unzip::OptionBits.dispid), static_cast<int32_t>(own + 447u));
    }
}

TEST_F(UnzipRunTest, ExternalProgressClearsStatusFlagsThenTickBoxesWin) {
    in.useExternalProgress = true;
    Apply();
    std::vector<std::string> flags;
    for (const auto& p : control.Puts())
        if (p.find("StatusFlag") != std::string::npos) flags.push_back(p);
    EXPECT_EQ(flags, (std::vector<std::string>{
                         "put MajorStatusFlag=false", "put MinorStatusFlag=false",
                         "put MajorStatusFlag=true", "put MinorStatusFlag=true"}));
}

TEST_F(UnzipRunTest, WholeSetUpInOrder) {
    in.optionStates[kOverwriteFiles] = 1;
    in.optionStates[kAllowRenaming] = 1;
    in.destination = "C:\\out";
    in.decrypt = true;
    in.decryptCode = "pw";
    in.extProgTitle = "title";  // sent although its box would be disabled
    in.freshenUpdatePosition = 0;
    in.index = -1;
    state.CancelRequested = kTrue;
    state.StopRenaming = kTrue;
    Apply();
    const std::vector<std::string> expected = {
        "put OptionBits=0", "put OptionBits=2",
        "put OverwriteFlag=true", "put TestFlag=false", "put QuietFlag=false",
        "put RecurseFlag=false", "put NoDirectoryItemsFlag=false",
        "put NoDirectoryNamesFlag=false", "put LFtoCRLFFlag=false",
        "put DiagnosticLogFlag=false", "put AllowRenamingFlag=true",
        "put ZIPFile=\"a.zip\"", "put FileSpec=\"*.txt\"", "put Destination=\"C:\\out\"",
        "put DecryptFlag=true", "put DecryptCode=\"pw\"", "put ExtProgTitle=\"title\"",
        "put AuxFlagA=true", "put MajorStatusFlag=true", "put AuxFlagB=true",
        "put MinorStatusFlag=true",
        "put UpdateFlag=false", "put FreshenFlag=false",
        "put Index=-1"};
    EXPECT_EQ(control.Puts(), expected);
    EXPECT_EQ(state.CancelRequested, kFalse);
    EXPECT_EQ(state.StopRenaming, kFalse);
}

TEST_F(UnzipRunTest, StatusDisplaysResetMinorFirst) {
    Apply();
    EXPECT_EQ(minor.Puts(),
              (std::vector<std::string>{"put Percent=0", "put StatusText=\"\""}));
    EXPECT_EQ(major.Puts(),
              (std::vector<std::string>{"put Percent=0", "put StatusText=\"\""}));
}

std::vector<std::string> FreshenUpdateWrites(const FakeControl& c) {
    std::vector<std::string> out;
    for (const auto& p : c.Puts())
        if (p.find("FreshenFlag") != std::string::npos || p.find("UpdateFlag") != std::string::npos)
            out.push_back(p);
    return out;
}

TEST_F(UnzipRunTest, FreshenUpdateWriteOrders) {
    in.freshenUpdatePosition = 1;
    Apply();
    EXPECT_EQ(FreshenUpdateWrites(control),
              (std::vector<std::string>{"put FreshenFlag=true", "put UpdateFlag=false"}));

    control.calls.clear();
    in.freshenUpdatePosition = 2;
    Apply();
    EXPECT_EQ(FreshenUpdateWrites(control),
              (std::vector<std::string>{"put UpdateFlag=true", "put FreshenFlag=false"}));

    control.calls.clear();
    in.freshenUpdatePosition = 0;
    Apply();
    EXPECT_EQ(FreshenUpdateWrites(control),
              (std::vector<std::string>{"put UpdateFlag=false", "put FreshenFlag=false"}));
}

TEST_F(UnzipRunTest, FailedWriteStopsTheRunAndNamesTheProperty) {
    control.failOn = unzip::Destination.dispid;
    bool actionWritten = false;
    control.onI2Put = [&](int32_t id, int16_t) { actionWritten |= id == unzip::Action.dispid; };
    RunUnzipFunction(session, state, Targets(), in, "a.zip", "", 8);
    ASSERT_FALSE(session.ok());
    EXPECT_EQ(session.failure()->property, "Destination");
    EXPECT_FALSE(actionWritten);
    EXPECT_EQ(control.calls.back(), "put Destination=\"\"");
    EXPECT_EQ(session.failure()->control, "unzipctrl");
    EXPECT_EQ(session.failure()->status, static_cast<int32_t>(0x80020009u));
}

TEST_F(UnzipRunTest, RunWritesActionAndShowsEveryResult) {
    int16_t seenAction = 0;
    bool inProgressDuringAction = false;
    control.onI2Put = [&](int32_t id, int16_t v) {
        if (id != unzip::Action.dispid) return;
        seenAction = v;
        inProgressDuringAction = state.RunInProgress == kTrue;
        control.SetNumber(unzip::ReturnValue.dispid, -3);
        control.SetNumber(unzip::Count.dispid, 7);
        control.SetString(unzip::ReturnString.dispid, "comment");
        control.SetNumber(unzip::ZIIndex.dispid, 2);
        // Sizes of 2 GiB and more come as the unsigned bits of the I4.
        control.SetNumber(unzip::ZIoSize.dispid, static_cast<int32_t>(0xFFFFFFFEu));
        control.SetNumber(unzip::ZIcSize.dispid, static_cast<int32_t>(0x80000000u));
        control.SetNumber(unzip::ZIcrc32.dispid, static_cast<int32_t>(0xFFFFFFFFu));
        control.SetString(unzip::ZIszDateTime.dispid, "12/31/99 23:59");
        control.SetNumber(unzip::ZICPathType.dispid, -1);
        control.SetNumber(unzip::ZIcMethod.dispid, 8);
        control.SetNumber(unzip::ZIattr.dispid, 0x21);
        control.SetString(unzip::ZIszFileName.dispid, "dir/a.txt");
    };
    RunResultTexts r = RunUnzipFunction(session, state, Targets(), in, "a.zip", "", 7);
    ASSERT_TRUE(session.ok());
    EXPECT_EQ(seenAction, 7);
    EXPECT_TRUE(inProgressDuringAction);
    EXPECT_EQ(state.RunInProgress, kFalse);
    EXPECT_EQ(r.returnValue, "-3");
    EXPECT_EQ(r.count, "7");
    EXPECT_EQ(r.returnString, "comment");
    EXPECT_EQ(r.item.index, "2");
    EXPECT_EQ(r.item.oSize, "4294967294");
    EXPECT_EQ(r.item.cSize, "2147483648");
    EXPECT_EQ(r.item.crc32, "-1");
    EXPECT_EQ(r.item.dateTime, "12/31/99 23:59");
    EXPECT_EQ(r.item.pathType, "Yes");
    EXPECT_EQ(r.item.method, "Deflated");
    EXPECT_EQ(r.item.attr, "a----r--");
    EXPECT_EQ(r.item.fileName, "dir/a.txt");
}

TEST_F(UnzipRunTest, AFailedResultReadKeepsTheResultsReadBeforeIt) {
    control.onI2Put = [&](int32_t id, int16_t) {
        if (id != unzip::Action.dispid) return;
        control.SetNumber(unzip::ReturnValue.dispid, 0);
        control.SetNumber(unzip::Count.dispid, 3);
        control.SetString(unzip::ReturnString.dispid, "comment");
        control.SetNumber(unzip::ZIIndex.dispid, 1);
        control.SetNumber(unzip::ZIoSize.dispid, 10);
        control.SetNumber(unzip::ZIcSize.dispid, 8);
    };
    control.failOn = unzip::ZIcrc32.dispid;
    const RunResultTexts r = RunUnzipFunction(session, state, Targets(), in, "a.zip", "", 7);
    EXPECT_TRUE(r.completed);
    ASSERT_FALSE(session.ok());
    EXPECT_EQ(session.failure()->property, "ZIcrc32");
    EXPECT_EQ(r.returnValue, "0");
    EXPECT_EQ(r.count, "3");
    EXPECT_EQ(r.returnString, "comment");
    EXPECT_EQ(r.item.index, "1");
    EXPECT_EQ(r.item.oSize, "10");
    EXPECT_EQ(r.item.cSize, "8");
    // The failed read and every one after it show nothing rather than a zero.
    for (const ResultText* unread : {&r.item.crc32, &r.item.dateTime, &r.item.pathType,
                                     &r.item.method, &r.item.attr, &r.item.fileName})
        EXPECT_FALSE(unread->has_value());
    EXPECT_EQ(control.calls.back(), "get ZIcrc32");
}

TEST_F(UnzipRunTest, AStatusDisplayFailureIsItsOwnRunsFailureOnly) {
    FakeControl refusing("MinorStatusCtrl");
    refusing.failOn = status::StatusText.dispid;
    FakeControl* display = &refusing;
    // The status handlers, nested inside the Action write.
    control.onI2Put = [&](int32_t id, int16_t) {
        if (id == unzip::Action.dispid) ShowStatus(events, *display, "zipstring", 0);
    };
    const StringRunResultTexts stopped =
        RunUnzipToString(session, state, Targets(), in, "b.zip", "zipstring", 0, 256);
    ASSERT_FALSE(session.ok());
    EXPECT_EQ(session.failure()->control, "MinorStatusCtrl");
    EXPECT_EQ(session.failure()->property, "StatusText");
    EXPECT_FALSE(stopped.completed);
    EXPECT_FALSE(stopped.returnValue.has_value());
    EXPECT_TRUE(events.ok()) << "left behind for the next run";

    // Later runs, string or not, start clean even when a failure was left behind.
    display = &minor;
    events.Fail(PropertyFailure{"MinorStatusCtrl", "StatusText", -1});
    PropertySession second;
    EXPECT_TRUE(RunUnzipToString(second, state, Targets(), in, "b.zip", "alpha.txt", 0, 256)
                    .completed);
    EXPECT_TRUE(second.ok());
    events.Fail(PropertyFailure{"MinorStatusCtrl", "StatusText", -1});
    PropertySession third;
    EXPECT_TRUE(RunUnzipFunction(third, state, Targets(), in, "b.zip", "", 1).completed);
    EXPECT_TRUE(third.ok());
}

TEST_F(UnzipRunTest, StringRunSendsItemNameOffsetAndLength) {
    control.onI2Put = [&](int32_t id, int16_t) {
        if (id != unzip::Action.dispid) return;
        control.SetNumber(unzip::CharsToUnZIP.dispid, 11);
        control.SetString(unzip::UnZIPString.dispid, "hello world");
    };
    StringRunResultTexts r =
        RunUnzipToString(session, state, Targets(), in, "b.zip", "\"long name.txt\" x", -1, 256);
    ASSERT_TRUE(session.ok());
    const auto puts = control.Puts();
    ASSERT_GE(puts.size(), 4u);
    EXPECT_EQ(puts[puts.size() - 3], "put StartingOffset=-1");
    EXPECT_EQ(puts[puts.size() - 2], "put CharsToUnZIP=256");
    EXPECT_EQ(puts.back(), "put Action=9s");
    EXPECT_NE(std::find(puts.begin(), puts.end(), "put FileSpec=\"\"long name.txt\" x\""),
              puts.end());
    EXPECT_EQ(r.returnCount, "11");
    EXPECT_EQ(r.unzipString, "hello world");
    // Results are read in display order: the result code once per form's box.
    const auto action = std::find(control.calls.begin(), control.calls.end(), "put Action=9s");
    ASSERT_NE(action, control.calls.end());
    const std::vector<std::string> reads(action + 1, control.calls.end());
    const std::vector<std::string> expectedReads = {
        "get ReturnValue", "get ReturnValue", "get Count", "get CharsToUnZIP", "get UnZIPString",
        "get ZIIndex", "get ZIoSize", "get ZIcSize", "get ZIcrc32", "get ZIszDateTime",
        "get ZICPathType", "get ZIcMethod", "get ZIattr", "get ZIszFileName"};
    EXPECT_EQ(reads, expectedReads);
    // ReturnString belongs to the main form's run only.
    for (const auto& c : control.calls) EXPECT_NE(c, "get ReturnString");
}

}  // namespace
}  // namespace ulmarsh
