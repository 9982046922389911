#include "ulmarsh/close_request.h"

namespace ulmarsh {

CloseAnswer AnswerCloseRequest(Module1& state) {
    if (state.RenameInProgress) return CloseAnswer::ShowRenameForm;
    if (state.RunInProgress) {
        state.CancelRequested = kTrue;
        return CloseAnswer::CloseAfterRun;
    }
    return CloseAnswer::Close;
}

}  // namespace ulmarsh
