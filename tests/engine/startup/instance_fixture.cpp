// The fake machine of the instance-data tests.

#include "instance_fixture.h"

#include "common/letter_case.h"

namespace pellion::testing {

namespace {

std::u16string valueKey(std::u16string_view key, std::u16string_view name)
{
    return upperCase(key) + u"|" + upperCase(name);
}

std::u16string trimmed(std::u16string_view path)
{
    std::u16string text(path);
    while (text.size() > 1 && (text.back() == u'\\' || text.back() == u'/'))
        text.pop_back();
    return text;
}

}  // namespace

void FakeInstanceMachine::setValue(bool localMachine, std::u16string_view key, std::u16string_view name,
                                   std::u16string_view text)
{
    keys.insert({localMachine, upperCase(key)});
    values[{localMachine, valueKey(key, name)}] = std::u16string(text);
}

void FakeInstanceMachine::setIdentityFolder(bool localMachine, std::u16string_view folder)
{
    setValue(localMachine, identityKey(productCode), u"", folder);
}

std::optional<std::u16string> FakeInstanceMachine::registryText(bool localMachine, std::u16string_view key,
                                                                 std::u16string_view value)
{
    if (!keys.count({localMachine, upperCase(key)}))
        return std::nullopt;
    const auto found = values.find({localMachine, valueKey(key, value)});
    return found == values.end() ? std::u16string() : found->second;
}

std::u16string FakeInstanceMachine::shellFolder(ShellFolder which)
{
    const auto found = folders.find(which);
    return found == folders.end() ? std::u16string() : found->second;
}

std::optional<int32_t> FakeInstanceMachine::msiProductState(std::u16string_view code)
{
    if (installerMissing)
        return std::nullopt;
    const auto found = productStates.find(std::u16string(code));
    return found == productStates.end() ? -1 : found->second;
}

std::optional<std::u16string> FakeInstanceMachine::msiPackageCode(std::u16string_view code)
{
    const auto found = packageCodes.find(std::u16string(code));
    if (installerMissing || found == packageCodes.end())
        return std::nullopt;
    return found->second;
}

bool FakeInstanceMachine::createFolder(std::u16string_view path)
{
    for (const auto& prefix : uncreatable)
        if (upperCase(path).starts_with(upperCase(prefix)))
            return false;
    if (files.entryInfo(path).kind != EntryKind::missing)
        return false;
    files.addFolder(trimmed(path));
    return true;
}

bool FakeInstanceMachine::removeEmptyFolder(std::u16string_view path)
{
    const auto entries = files.listFolder(trimmed(path));
    if (!entries || !entries->empty())
        return false;
    files.remove(trimmed(path));
    return true;
}

void FakeInstanceMachine::removeTree(std::u16string_view path)
{
    removedTrees.emplace_back(path);
    if (const auto entries = files.listFolder(trimmed(path)))
        for (const auto& entry : *entries) {
            const std::u16string child = trimmed(path) + u"\\" + entry.name;
            if (entry.isFolder)
                removeTree(child);
            else
                files.remove(child);
        }
    files.remove(trimmed(path));
}

bool FakeInstanceMachine::deleteFile(std::u16string_view path)
{
    if (!files.file(path))
        return false;
    files.remove(path);
    return true;
}

bool FakeInstanceMachine::replaceFile(std::u16string_view from, std::u16string_view to)
{
    const auto bytes = files.file(from);
    if (!bytes)
        return false;
    files.setFile(to, *bytes);
    files.remove(from);
    return true;
}

InstanceRun::InstanceRun(const ScriptBuilder& script) : run(script)
{
    run.package.revisionCode = revisionCode;
    run.package.productCode = productCode;
    run.environment->identity = {productCode, revisionCode, run.package.title};
    machine.folders[ShellFolder::commonAppData] = u"C:\\ProgramData";
    machine.folders[ShellFolder::localAppData] = u"C:\\Users\\ada\\AppData\\Local";
    machine.folders[ShellFolder::roamingAppData] = u"C:\\Users\\ada\\AppData\\Roaming";
    machine.folders[ShellFolder::desktop] = u"C:\\Users\\ada\\Desktop";
    files.addFolder(u"C:\\media");
    files.addFolder(u"C:\\Temp\\oxa1");
}

void InstanceRun::cacheFolder(const std::u16string& folder, const std::string& instanceData)
{
    for (const char16_t* name : {u"setup.exe", u"setup.res", u"oxa.lib", u"setup.par", u"instance.dat"})
        files.setFile(folder + name, "");
    files.setFile(folder + u"setup.dat", instanceData);
}

void InstanceRun::nativeLogs(const std::u16string& base)
{
    for (const char16_t* suffix :
         {u".native.elements.log", u".native.data.log", u".native.weight.log", u".native.bitness.log"})
        files.setFile(base + suffix, "");
}

}  // namespace pellion::testing
