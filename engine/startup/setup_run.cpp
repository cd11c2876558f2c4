// The setup-mode phases in order.

#include "engine/startup/setup_run.h"

#include "common/text.h"

namespace pellion {

StartupError::StartupError(const std::u16string& text)
    : std::runtime_error(toUtf8(text)), text_(text)
{
}

namespace {

constexpr char16_t internalUseOnly[] = u"For internal use only";

// A phase whose failure is an ordinary outcome (exit codes 13 to 15), not an error.
struct PhaseFailed {};

}  // namespace

int runSetupPhases(EngineSettings& settings, Trace& trace, const EngineMessages& messages, StartupHost& host)
{
    bool splashOpen = false;
    auto closeSplash = [&] {
        if (splashOpen) {
            host.closeSplash();
            splashOpen = false;
        }
    };
    // The "preparing" window owns these message boxes, so it closes after them.
    auto fail = [&](int exitCode, const std::u16string& text) {
        if (!settings.silent)
            host.showError(text);
        closeSplash();
        settings.exitCode = exitCode;
        throw PhaseFailed{};
    };

    trace.line(u"<Vantrel>");
    trace.line(u"    <SupportDir>");
    settings.supportDir = host.createSupportFolder(settings.tempDir);
    trace.line(u"    </SupportDir>");

    trace.line(u"  <SetupSplash>");
    if (!settings.silent && !settings.noSplash) {
        host.showSplash();
        splashOpen = true;
    }
    try {
        trace.line(u"    <StubSize>");
        if (!host.hasAppendix())
            fail(13, internalUseOnly);
        trace.line(u"    </StubSize>");

        trace.line(u"    <StubData>");
        if (settings.supportDir.empty())
            throw StartupError(u"Cannot create the support folder");
        host.copyAppendix(settings.supportDir + u"oxa.tmp");
        trace.line(u"    </StubData>");

        trace.line(u"    <GlobalLists>");
        host.loadPackage(settings.supportDir + u"oxa.tmp");
        trace.line(u"    </GlobalLists>");

        trace.line(u"    <ExtractArchive>");
        if (!host.fileExists(settings.archiveFile))
            fail(14, messages.text(Message::ResourceNotFound));
        if (!host.extractArchive(settings.archiveFile, settings.supportDir).empty())
            fail(15, messages.text(Message::ResourceDecompressionFailure));
        host.afterExtraction();
        trace.line(u"    </ExtractArchive>");

        trace.line(u"    <ResourcePath>");
        host.copyResourceFiles();
        settings.mediaDir = settings.exeDir + u"data\\";
        trace.line(u"    </ResourcePath>");

        trace.line(u"    <Dialogs>");
        host.loadDialogs();
        trace.line(u"    </Dialogs>");
        closeSplash();
        trace.line(u"  </SetupSplash>");

        trace.line(u"  <RunScript>");
        host.runScript();
        trace.line(u"  </RunScript>");

        trace.line(u"  <Free>");
        host.freeTables();
        trace.line(u"  </Free>");
    } catch (const PhaseFailed&) {
        // Message and exit code are set; the support folder goes below.
    } catch (const StartupError& error) {
        closeSplash();
        if (!settings.silent)
            host.showError(messages.text(Message::RuntimeErrorInInstall) + error.text());
        settings.exitCode = 11;
    } catch (const std::exception& error) {
        closeSplash();
        if (!settings.silent)
            host.showError(messages.text(Message::RuntimeErrorInInstall) + toUtf16(error.what()));
        settings.exitCode = 11;
    }

    trace.line(u"  <CachedSupportDir>");
    if (!settings.supportDir.empty())
        host.removeSupportFolder(settings.supportDir);
    trace.line(u"  </CachedSupportDir>");
    trace.line(u"</Vantrel>");
    return settings.exitCode;
}

}  // namespace pellion
