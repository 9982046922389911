// What the main form does when asked to close.
#pragma once

#include "ulmarsh/module1.h"

namespace ulmarsh {

enum class CloseAnswer {
    Close,
    ShowRenameForm,  // refused: a rename prompt is waiting for the user
    CloseAfterRun,   // refused for now: the control is inside its Action write
};

// A close during a run would take the control away under its own call; the
// run is asked to stop instead (CancelRequested) and the close follows it.
CloseAnswer AnswerCloseRequest(Module1& state);

}  // namespace ulmarsh
