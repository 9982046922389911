#include "guarded_call_win.h"

#include <setjmp.h>

namespace tolvane {

namespace {

// The frame this module puts on the thread's exception chain around the call.
// The record comes first: the system hands its address to the handler.
struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD record;
    jmp_buf escape;
};

// Reached only for exceptions the called code did not handle itself (its own
// frames lie below this one). The runtime's longjmp unwinds those frames,
// running their cleanup handlers, back to the frame that called setjmp.
EXCEPTION_DISPOSITION __cdecl OnUnhandledInCall(EXCEPTION_RECORD* exception, void* frame, CONTEXT*, void*) {
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    longjmp(static_cast<GuardFrame*>(frame)->escape, 1);
}

// The thread block's own address sits at fs:0x18. Read directly: GCC takes the header's
// __readfsdword for a read through a null pointer once it is inlined, and warns.
NT_TIB* ThreadBlock() {
    NT_TIB* block;
    __asm__("movl %%fs:0x18, %0" : "=r"(block));
    return block;
}

}  // namespace

bool CallGuarded(SelfRegisterFunction entry, HRESULT& result) {
    GuardFrame guard;
    EXCEPTION_REGISTRATION_RECORD* const outer = ThreadBlock()->ExceptionList;
    if (setjmp(guard.escape) != 0) {
        ThreadBlock()->ExceptionList = outer;
        return false;
    }
    guard.record.Next = outer;
    guard.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(OnUnhandledInCall);
    ThreadBlock()->ExceptionList = &guard.record;
    result = entry();
    ThreadBlock()->ExceptionList = outer;
    return true;
}

}  // namespace tolvane
