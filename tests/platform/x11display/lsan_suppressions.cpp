// Leak suppressions of the sanitizer build: fontconfig keeps a few blocks
// from parsing its configuration files for the life of the process, which
// LeakSanitizer reports at exit. Everything else is still checked.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
