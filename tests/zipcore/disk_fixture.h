// Base of the engine tests that work on real files: a scratch folder, the platform's file
// system and the events a run reports.
#pragma once

#include <gtest/gtest.h>

#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"

namespace ziptest {

class DiskFixture : public ::testing::Test {
protected:
    zipcore::UnzipOutcome unzip(zipcore::UnzipAction action, const zipcore::UnzipOptions& o) {
        return zipcore::runUnzip(fs_, action, o, events_);
    }

    ScratchDir dir_;
    zipcore::StdFileSystem fs_;
    RecordingEvents events_;
};

}  // namespace ziptest
