// Error code texts. The spellings are the wizard's own and stay as they are.

#include "error_text.h"

#include "common/numbers.h"

namespace pellion {

std::u16string ErrorText(int code, std::u16string_view packExtension)
{
    const std::u16string extension(packExtension);
    switch (code) {
    case -1: return u"No Language Packs found";
    case -2: return u"Current working directory is invalid or unaccessible";
    case -99: return u"Unknown error occured during initialization";
    case -100: return u"System not initialized";
    case -101: return u"Translation project (*.mtx) not found";
    case -102: return u"File 'translations.original' not found";
    case -103: return u"File 'translations.map' not found";
    case -105: return u"File 'translations." + extension + u"' not found";
    case -106: return u"Backup of file 'translations." + extension + u".bak' failed";
    case -107: return u"Creation of file 'translations." + extension + u"' failed";
    case -108: return u"File 'dialogs.dat' of current Language Pack not found";
    case -109: return u"File 'scripts.dat' of current Language Pack not found";
    case -110: return u"File 'dialogs.dat' modified externally";
    case -111: return u"File 'scripts.dat' modified externally";
    case -199: return u"Unknown error occured during project translation";
    case -200: return u"The selected Language Pack ID was not found";
    case -201: return u"Index files of Language Pack not accessible";
    case -299: return u"Unknown error occured during initialization of a Language Pack";
    default: return u"Unknown error code " + formatInt(code);
    }
}

}  // namespace pellion
