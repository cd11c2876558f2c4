// The folder tree lists a folder's subfolders only when the folder is opened
// or selected, so a tree over whole drives costs no more than what the user
// looks at. Hidden folders are left out, as the shell leaves them out; a
// saved project inside one is still reached, since selecting by path adds
// the folders it passes through.

#include "folder_tree.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace pellion {

namespace {

bool sameName(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE)
           == CSTR_EQUAL;
}

std::wstring withBackslash(std::wstring_view folder)
{
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

// "C:\" of "C:\a\b\", "\\server\share\" of "\\server\share\a\"; empty for
// anything else.
std::wstring rootOf(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return path.substr(0, 3);
    if (path.starts_with(L"\\\\")) {
        const size_t server = path.find(L'\\', 2);
        const size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        if (share != std::wstring::npos && share > server + 1)
            return path.substr(0, share + 1);
    }
    return {};
}

int systemIcon(const wchar_t* path, DWORD attributes, UINT flags, std::wstring* displayName = nullptr)
{
    SHFILEINFOW info{};
    const UINT more = displayName ? SHGFI_DISPLAYNAME : 0;
    if (!SHGetFileInfoW(path, attributes, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags | more))
        return 0;
    if (displayName)
        *displayName = info.szDisplayName;
    return info.iIcon;
}

const wchar_t* driveKindName(UINT type)
{
    switch (type) {
    case DRIVE_REMOVABLE:
        return L"Removable Disk";
    case DRIVE_FIXED:
        return L"Local Disk";
    case DRIVE_REMOTE:
        return L"Network Drive";
    case DRIVE_CDROM:
        return L"CD Drive";
    case DRIVE_RAMDISK:
        return L"RAM Disk";
    }
    return L"Drive";
}

std::vector<std::wstring> subfolderNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchLimitToDirectories,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring_view name = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)
            || name == L"." || name == L"..")
            continue;
        names.emplace_back(name);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
    return names;
}

}  // namespace

void FolderTree::create(HWND parent, int id, RECT place, HFONT font)
{
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT
                                | TVS_SHOWSELALWAYS,
                            place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    // The system's image list is shared: the tree view never destroys it.
    if (images)
        TreeView_SetImageList(tree_, images, TVSIL_NORMAL);
    folderImage_ = systemIcon(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES);
    openFolderImage_ = systemIcon(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES | SHGFI_OPENICON);

    wchar_t drives[512] = {};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives) - 1), drives);
    if (length == 0 || length >= std::size(drives))
        return;
    for (const wchar_t* root = drives; *root; root += wcslen(root) + 1)
        insertItem(TVI_ROOT, L"", root, true);
}

HTREEITEM FolderTree::insertItem(HTREEITEM parent, const std::wstring& name, const std::wstring& path, bool drive)
{
    std::wstring text = name;
    int image = folderImage_;
    int selectedImage = openFolderImage_;
    if (drive) {
        // Drives that may hold no medium are not touched while listing them.
        const UINT type = GetDriveTypeW(path.c_str());
        const bool mayBeEmpty = type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
        std::wstring displayName;
        image = selectedImage = systemIcon(path.c_str(), mayBeEmpty ? FILE_ATTRIBUTE_DIRECTORY : 0,
                                           mayBeEmpty ? SHGFI_USEFILEATTRIBUTES : 0, mayBeEmpty ? nullptr : &displayName);
        const std::wstring letter = path.substr(0, path.size() - 1);  // "C:"
        // A drive without a label is named by its kind, as the shell does.
        const bool labelled = !displayName.empty() && displayName.front() != L'(' && displayName != path;
        if (!labelled)
            text = std::wstring(driveKindName(type)) + L" (" + letter + L")";
        else if (displayName.find(letter) == std::wstring::npos)
            text = displayName + L" (" + letter + L")";
        else
            text = displayName;
    }
    folders_.push_back({withBackslash(path), false});

    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(folders_.size() - 1);
    insert.item.cChildren = 1;  // until the folder is listed
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return TreeView_InsertItem(tree_, &insert);
}

const std::wstring& FolderTree::pathOf(HTREEITEM item) const
{
    static const std::wstring none;
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!item || !TreeView_GetItem(tree_, &data) || data.lParam < 0
        || static_cast<size_t>(data.lParam) >= folders_.size())
        return none;
    return folders_[static_cast<size_t>(data.lParam)].path;
}

void FolderTree::loadChildren(HTREEITEM item)
{
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!item || !TreeView_GetItem(tree_, &data) || static_cast<size_t>(data.lParam) >= folders_.size())
        return;
    const size_t index = static_cast<size_t>(data.lParam);
    if (folders_[index].listed)
        return;
    folders_[index].listed = true;
    const std::wstring folder = folders_[index].path;
    const auto names = subfolderNames(folder);
    for (const auto& name : names)
        if (!childNamed(item, name, false))
            insertItem(item, name, folder + name, false);
    if (!TreeView_GetChild(tree_, item)) {
        data.mask = TVIF_CHILDREN;
        data.cChildren = 0;
        TreeView_SetItem(tree_, &data);
    }
}

HTREEITEM FolderTree::childNamed(HTREEITEM parent, std::wstring_view name, bool topLevel) const
{
    HTREEITEM child = topLevel ? TreeView_GetRoot(tree_) : TreeView_GetChild(tree_, parent);
    for (; child; child = TreeView_GetNextSibling(tree_, child)) {
        const std::wstring& path = pathOf(child);
        if (topLevel) {
            if (sameName(path, name))
                return child;
            continue;
        }
        // The last part of "...\name\".
        const size_t end = path.size() - 1;
        const size_t start = path.rfind(L'\\', end - 1) + 1;
        if (sameName(std::wstring_view(path).substr(start, end - start), name))
            return child;
    }
    return nullptr;
}

std::wstring FolderTree::selectedFolder() const
{
    return pathOf(TreeView_GetSelection(tree_));
}

void FolderTree::selectFolder(std::wstring_view folder)
{
    const std::wstring path = withBackslash(folder);
    if (!selectedFolder().empty() && sameName(selectedFolder(), path))
        return;
    const std::wstring root = rootOf(path);
    if (root.empty()) {
        clearSelection();
        return;
    }
    HTREEITEM item = childNamed(TVI_ROOT, root, true);
    if (!item)
        item = insertItem(TVI_ROOT, root.substr(0, root.size() - 1), root, false);

    std::vector<HTREEITEM> ancestors;
    size_t start = root.size();
    while (item && start < path.size()) {
        const size_t end = path.find(L'\\', start);
        const std::wstring name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        loadChildren(item);
        HTREEITEM child = childNamed(item, name, false);
        if (!child) {
            child = insertItem(item, name, pathOf(item) + name, false);
            TVITEMW data{};
            data.mask = TVIF_CHILDREN;
            data.hItem = item;
            data.cChildren = 1;
            TreeView_SetItem(tree_, &data);
        }
        ancestors.push_back(item);
        item = child;
    }
    for (HTREEITEM ancestor : ancestors)
        TreeView_Expand(tree_, ancestor, TVE_EXPAND);
    TreeView_SelectItem(tree_, item);
    TreeView_EnsureVisible(tree_, item);
    // Keep the drives in sight when the folder's name fits without scrolling sideways.
    RECT text{};
    RECT client{};
    std::memcpy(&text, &item, sizeof item);  // the message takes the item in the rectangle
    if (SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)) && GetClientRect(tree_, &client)
        && text.right + GetScrollPos(tree_, SB_HORZ) <= client.right)
        SendMessageW(tree_, WM_HSCROLL, SB_LEFT, 0);
}

void FolderTree::clearSelection()
{
    TreeView_SelectItem(tree_, nullptr);
}

bool FolderTree::handleNotify(const NMHDR& header)
{
    if (header.hwndFrom != tree_)
        return false;
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    switch (header.code) {
    case TVN_ITEMEXPANDINGW:
        if (change.action & TVE_EXPAND)
            loadChildren(change.itemNew.hItem);
        return true;
    case TVN_SELCHANGEDW:
        // A selected folder shows at once whether it has subfolders.
        loadChildren(change.itemNew.hItem);
        return true;
    }
    return false;
}

}  // namespace pellion
