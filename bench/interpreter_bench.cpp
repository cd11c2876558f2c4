// Benchmark of the script interpreter. A script loops ITERATIONS times over
// Mathematics, If (false, so its block is skipped) and Set-Variable-like
// statements; the statements run per second are printed beside the cost of
// one plain variable lookup, the unit every statement pays several times over
// (the per-statement refresh of LOGGED, SILENT, TITLE, QUAVLOGO, DATE, TIME and
// ABORT). Then a text with 100 references is expanded repeatedly. On Windows
// the loop runs a second time with the real system facts (the locale's date
// and time formats before every statement) and prints the ratio of the two.
// Built and run by bench/interpreter.sh.
//
//   interpreter_bench [ITERATIONS]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/numbers.h"
#include "engine/script/interpreter.h"
#include "tests/engine/script/script_fixture.h"
#ifdef _WIN32
#include "engine/script/windows_script_host.h"
#endif

using namespace pellion;
using namespace pellion::testing;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

ScriptBuilder loopScript(long iterations)
{
    ScriptBuilder script;
    script.add("Set Variable", {"I", "0"})
        .add("Repeat")                                            // each iteration runs 6 statements:
        .add("Mathematics", {"$I$", "1", "0", "I"})               // Repeat, Mathematics, If, End,
        .add("If", {"I", "0", "never", "FALSE"})                  // Set Variable and Until
        .add("Set Variable", {"SKIPPED", "x"})
        .add("End")
        .add("Set Variable", {"LAST", "step $I$ of $TITLE$"})
        .add("Until", {"I", "0", std::to_string(iterations), "FALSE"});
    return script;
}

constexpr long statementsPerIteration = 6;

// Seconds for the whole run, or a negative value when the script did not loop.
double timeLoop(ScriptRun& run, long iterations)
{
    const auto start = Clock::now();
    run.run();
    const double seconds = secondsSince(start);
    if (run.variable(u"I") != formatInt(iterations) || !run.host.errors.empty()) {
        std::fprintf(stderr, "the loop did not run to the end\n");
        return -1;
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const long iterations = argc > 1 ? std::atol(argv[1]) : 1000000;
    const ScriptBuilder script = loopScript(iterations);

    ScriptRun fake(script);
    fake.settings.traceFile.clear();
    const double loopSeconds = timeLoop(fake, iterations);
    if (loopSeconds < 0)
        return 1;
    const double statements = static_cast<double>(iterations) * statementsPerIteration;
    const double perStatement = loopSeconds / statements;

    TVariableManager store;
    for (int i = 0; i < 100; ++i)
        store.Add(u"VARIABLE" + formatInt(i), u"value " + formatInt(i));
    const long lookups = 5000000;
    size_t sink = 0;
    auto start = Clock::now();
    for (long i = 0; i < lookups; ++i)
        sink += store.GetItem(i % 2 ? u"VARIABLE42" : u"variable7").size();
    const double perLookup = secondsSince(start) / lookups;

    std::printf("statement loop:  %.0f statements/s (%ld iterations, %.2f s), %.2f us per statement\n",
                statements / loopSeconds, iterations, loopSeconds, perStatement * 1e6);
    std::printf("variable lookup: %.0f lookups/s; one statement costs %.1f lookups\n", 1 / perLookup,
                perStatement / perLookup);

    std::u16string text;
    for (int i = 0; i < 100; ++i)
        text += u"item $VARIABLE" + formatInt(i % 10 * 7) + u"$ and ";
    const long expansions = 20000;
    start = Clock::now();
    for (long i = 0; i < expansions; ++i)
        sink += store.Expand(text).size();
    const double expandSeconds = secondsSince(start);
    std::printf("expansion:       %.0f texts/s of 100 references (%.0f references/s), %.2f us per text\n",
                expansions / expandSeconds, expansions * 100 / expandSeconds, expandSeconds / expansions * 1e6);

#ifdef _WIN32
    ScriptRun real(script);
    real.settings.traceFile.clear();
    WindowsSystemFacts facts;
    ScriptEnvironment environment(real.settings, real.trace, real.messages, real.package, real.store, facts,
                                  real.host, real.extensions);
    const auto realStart = Clock::now();
    RunScript(environment, real.commands);
    const double realSeconds = secondsSince(realStart);
    std::printf("with the Windows system facts: %.0f statements/s, %.2fx the time of the fake facts\n",
                statements / realSeconds, realSeconds / loopSeconds);
#endif
    return sink == 0 ? 2 : 0;
}
