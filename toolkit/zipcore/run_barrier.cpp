#include "toolkit/zipcore/run_barrier.h"

#include <new>
#include <stdexcept>
#include <system_error>

namespace zipcore {

ZipResult resultOfException(RunEvents& events, const std::string& archivePath) noexcept {
    ZipResult result = ZipResult::ArchiveDamaged;
    MessageCode code = MessageCode::ArchiveDamaged;
    const char* what = "the run failed unexpectedly";
    try {
        throw;
    } catch (const std::bad_alloc&) {
        result = ZipResult::TooLarge, code = MessageCode::WriteFailed, what = "not enough memory";
    } catch (const std::length_error&) {
        result = ZipResult::TooLarge, code = MessageCode::WriteFailed, what = "not enough memory";
    } catch (const std::system_error&) {
        result = ZipResult::TooLarge, code = MessageCode::WriteFailed, what = "a system resource ran out";
    } catch (...) {
    }
    try {
        events.message(code, archivePath + ": " + what);
    } catch (...) {
        // Not even the message could be raised: the result still stands.
    }
    return result;
}

}  // namespace zipcore
