// Linked into every fuzz target: the settings it runs with, whoever starts
// it.
#include <vector>

// The limits. libFuzzer's own defaults let a single allocation of 2 GB
// pass, so a picture that asked for 256 MB went unnoticed; here an allocation
// over 64 MB, a process over 512 MB or an input taking over 2 s is a finding.
// Flags given on the command line come later and win over these.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static char malloc[] = "-malloc_limit_mb=64";
    static char rss[] = "-rss_limit_mb=512";
    static char timeout[] = "-timeout=2";
    static std::vector<char *> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, {malloc, rss, timeout});
    arguments.push_back(nullptr);
    *argc = static_cast<int>(arguments.size()) - 1;
    *argv = arguments.data();
    return 0;
}

// The address checker keeps freed memory aside for a while to catch late
// uses; its default of 256 MB counted against the 512 MB a process may use,
// so that a thousand ordinary designs in a row passed the limit. 64 MB still
// catches uses soon after the free. ASAN_OPTIONS given in the environment win.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=64";
}

// The system's font configuration keeps its caches until the process ends.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
