// Engine message defaults and the localization file reader.

#include "engine/startup/engine_messages.h"

#include <vector>

#include "common/letter_case.h"
#include "common/text.h"
#include "common/text_lines.h"

namespace pellion {

namespace {

constexpr int firstPlaceholder = 91;
constexpr int lastPlaceholder = 111;

const char16_t* const defaults[EngineMessages::count] = {
    u"Please install the common controls update from Microsoft before attempting to install this product.",  // 1
    u"Setup resource not found",  // 2
    u"Setup resource decompression failure",  // 3
    u"Setup database not found",  // 4
    u"Runtime error in install: ",  // 5
    u"bytes",  // 6
    u"KB",  // 7
    u"MB",  // 8
    u"Attempting to get value of undefined variable ",  // 9
    u"Attempting to set value of undefined variable ",  // 10
    u"Copying: ",  // 11
    u"Unable to copy installation data to local folders",  // 12
    u"Downloading Web Media: ",  // 13
    u"Unable to download installation data from the web",  // 14
    u"Extracting Web Media: ",  // 15
    u"Unable to extract installation data downloaded from the web",  // 16
    u"Please locate your original setup sources to continue operation",  // 17
    u"Original setup sources required to complete operation, sources not found",  // 18
    u"General setup failure",  // 19
    u"Runtime error in setup script:",  // 20
    u"% complete",  // 21
    u"bytes received",  // 22
    u"Vantrel Wizard",  // 23
    u"Vantrel is preparing the Vantrel Wizard which will install this application. Please wait.",  // 24
    u"Retry Download?",  // 25
    u"Downloading of installation data from the web has failed. Would you like to try again?",  // 26
    u" Proxy Information (optional) ",  // 27
    u"Proxy &Server:",  // 28
    u"Proxy &Port:",  // 29
    u"If you choose No, setup will exit. However, you will be able to resume your download from where it left off when you re-run setup.",  // 30
    u"&Yes",  // 31
    u"&No",  // 32
    u"Retry Extraction?",  // 33
    u"Extraction of installation data downloaded from the web has failed. What would you like to do?",  // 34
    u"&Download a fresh copy of the installation data.",  // 35
    u"Try to &extract the existing download data again.",  // 36
    u"If you choose Cancel, setup will exit. Your existing download data will be preserved.",  // 37
    u"&OK",  // 38
    u"&Cancel",  // 39
    u"Are you sure you want to cancel?",  // 40
    u"Proxy &User:",  // 41
    u"Proxy Pass&word:",  // 42
    u"Fatal Error",  // 43
    u"Error",  // 44
    u"Warning",  // 45
    u"Message",  // 46
    u"Files in Use",  // 47
    u"Out of Disk Space",  // 48
    u"Downloading of installation data from the web has failed. Please make sure you are connected to the Internet.",  // 49
    u"Would you like to:",  // 50
    u"Try to &resume the broken download?",  // 51
    u"Download a &new copy of the data instead?",  // 52
    u"If you choose Cancel, setup will exit. However, you will be able to resume your download from where it left off when you re-run setup.",  // 53
    u"",  // 54
    u"Locating resource",  // 55
    u"Connecting to",  // 56
    u"Redirecting to",  // 57
    u"Beginning data transfer",  // 58
    u"Transferring data",  // 59
    u"Finishing data transfer",  // 60
    u"Beginning component download",  // 61
    u"Installing components",  // 62
    u"Finishing component download",  // 63
    u"Resuming broken download",  // 64
    u"Requesting data",  // 65
    u"CLASSID available",  // 66
    u"Download data recognized",  // 67
    u"Saving download information",  // 68
    u"Beginning synchronous operation",  // 69
    u"Finishing synchronous operation",  // 70
    u"Beginning data upload",  // 71
    u"Uploading data",  // 72
    u"Finishing data upload",  // 73
    u"Protocol CLASSID",  // 74
    u"Encoding",  // 75
    u"Download data recognized and verified",  // 76
    u"Class install location",  // 77
    u"Decoding",  // 78
    u"Loading data handler",  // 79
    u"Content disposition attach",  // 80
    u"Download data filtered",  // 81
    u"CLSID can instantiate",  // 82
    u"COM services unavailable",  // 83
    u"Direct bind",  // 84
    u"Unrecognized download data",  // 85
    u"Detecting proxy information",  // 86
    u"Accept ranges",  // 87
    u"A previously executed setup still has pending operations on the system. Please restart your computer before attempting to install this product.",  // 88
    u"Select Setup Language",  // 89
    u"Please select the language to use during the installation:",  // 90
    u"",  // 91: placeholder
    u"",  // 92: placeholder
    u"",  // 93: placeholder
    u"",  // 94: placeholder
    u"",  // 95: placeholder
    u"",  // 96: placeholder
    u"",  // 97: placeholder
    u"",  // 98: placeholder
    u"",  // 99: placeholder
    u"",  // 100: placeholder
    u"",  // 101: placeholder
    u"",  // 102: placeholder
    u"",  // 103: placeholder
    u"",  // 104: placeholder
    u"",  // 105: placeholder
    u"",  // 106: placeholder
    u"",  // 107: placeholder
    u"",  // 108: placeholder
    u"",  // 109: placeholder
    u"",  // 110: placeholder
    u"",  // 111: placeholder
    u"Unable to play Flash movie",  // 112
    u"Will be &installed on local hard drive",  // 113
    u"&Entire feature will be installed on local hard drive",  // 114
    u"Entire feature will be &unavailable",  // 115
    u"Setup cancelled",  // 116
    u"Would you like to try again?",  // 117
    u"Unable to create shortcut",  // 118
    u"Old file date: ",  // 119
    u"Old file version: ",  // 120
    u"New file date: ",  // 121
    u"New file version: ",  // 122
    u"Overwrite",  // 123
    u"Would you like to overwrite this file?",  // 124
    u"<unknown date>",  // 125
    u"<no version information>",  // 126
};

bool isPlaceholder(int number) { return number >= firstPlaceholder && number <= lastPlaceholder; }


}  // namespace

EngineMessages::EngineMessages()
{
    for (int i = 0; i < count; ++i)
        texts_[i] = defaults[i];
}

const std::u16string& EngineMessages::text(int number) const
{
    static const std::u16string none;
    return number >= 1 && number <= count ? texts_[number - 1] : none;
}

void EngineMessages::load(std::string_view fileText, std::u16string_view userLanguage)
{
    const auto lines = utf8Lines(fileText);
    size_t at = 0;
    auto loadBlock = [&] {
        for (int number = 1; number <= count && at < lines.size(); ++number, ++at)
            if (!isPlaceholder(number))
                texts_[number - 1] = lines[at];
    };
    loadBlock();
    while (at < lines.size()) {
        const bool wanted = equalsNoCase(lines[at], userLanguage);
        ++at;
        loadBlock();
        if (wanted)
            break;
    }
}

std::u16string messageBoxCaption(std::u16string_view title, bool quavLogo)
{
    if (quavLogo)
        return std::u16string(title);
    if (title.empty())
        return u"Vantrel Wizard";
    return std::u16string(title) + u" - Vantrel Wizard";
}

}  // namespace pellion
