#include "io/xml/guarded_parse.h"

#include <pthread.h>

#include <algorithm>
#include <cstddef>
#include <exception>

#ifdef __EMSCRIPTEN__
#include <emscripten/stack.h>
#endif
#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

namespace {

// One level of nesting takes 226 bytes of the parser's stack (measured on
// x86-64); twice that leaves room for other builds of it.
constexpr std::size_t kStackPerLevel = 512;
constexpr std::size_t kStackBase = std::size_t{1} << 20;

// The lowest address of the calling thread's stack, or null when unknown.
const char* StackBottom() {
#ifdef __EMSCRIPTEN__
    // WebAssembly's runtime knows the one stack's limit; pthread_getattr_np
    // there reports a stack of no size, and no thread can be started instead.
    return reinterpret_cast<const char*>(emscripten_stack_get_end());
#elif defined(_WIN32)
    thread_local const char* const bottom = [] {
        ULONG_PTR low = 0;
        ULONG_PTR high = 0;
        GetCurrentThreadStackLimits(&low, &high);
        return reinterpret_cast<const char*>(low);
    }();
    return bottom;
#else
    thread_local const char* const bottom = [] {
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) != 0) {
            return static_cast<const char*>(nullptr);
        }
        void* low = nullptr;
        std::size_t size = 0;
        const bool known = pthread_attr_getstack(&attr, &low, &size) == 0;
        pthread_attr_destroy(&attr);
        return known ? static_cast<const char*>(low) : nullptr;
    }();
    return bottom;
#endif
}

// Whether more than `needed` bytes of this thread's stack lie below the
// caller's frame (stacks grow down on Linux).
bool RoomOnThisStack(std::size_t needed) {
    const char* const bottom = StackBottom();
    const auto* const here = static_cast<const char*>(__builtin_frame_address(0));
    return bottom != nullptr && here > bottom && static_cast<std::size_t>(here - bottom) > needed;
}

struct ParseJob {
    TiXmlDocument* doc;
    const char* text;
    TiXmlEncoding encoding;
    const char* stop;
    std::exception_ptr failure;
};

void* RunParse(void* arg) {
    auto* job = static_cast<ParseJob*>(arg);
    try {
        job->stop = job->doc->Parse(job->text, nullptr, job->encoding);
    } catch (...) {
        job->failure = std::current_exception();
    }
    return nullptr;
}

}  // namespace

GuardedParse ParseWithAmpleStack(TiXmlDocument& doc, std::string_view text, TiXmlEncoding encoding,
                                 int depth) {
    const std::size_t stack =
        kStackBase + static_cast<std::size_t>(std::max(depth, 0)) * kStackPerLevel;
    // Most files fit the caller's own stack; a thread costs more than their parse.
    if (RoomOnThisStack(stack)) {
        return GuardedParse{true, doc.Parse(text.data(), nullptr, encoding)};
    }
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) {
        return GuardedParse{};
    }
    ParseJob job{&doc, text.data(), encoding, nullptr, nullptr};
    pthread_t thread;
    const bool started = pthread_attr_setstacksize(&attr, stack) == 0 &&
                         pthread_create(&thread, &attr, RunParse, &job) == 0;
    pthread_attr_destroy(&attr);
    if (!started) {
        return GuardedParse{};
    }
    pthread_join(thread, nullptr);
    if (job.failure) {
        std::rethrow_exception(job.failure);
    }
    return GuardedParse{true, job.stop};
}

}  // namespace velmora
