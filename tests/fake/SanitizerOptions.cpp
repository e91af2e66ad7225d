// Every test that runs the script leaves its thread blocked for ever in scriptWait. ThreadSanitizer
// waits a second at exit for threads still running, which would only slow every such test down: they
// will never run again. TSAN_OPTIONS still overrides this.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
extern "C" const char* __tsan_default_options() { return "atexit_sleep_ms=0"; }
#endif
#endif
