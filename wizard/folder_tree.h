// The project page's folder tree: an explorer-style tree view of the drives
// and their folders, filled from the file system as the user opens folders,
// that reports the selected folder's path and can select a folder by path.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

namespace pellion {

class FolderTree {
public:
    // Creates the tree view in the parent and lists the drives.
    void create(HWND parent, int id, RECT place, HFONT font);
    HWND handle() const { return tree_; }

    // The selected folder with a trailing "\", empty when none is selected.
    std::wstring selectedFolder() const;
    // Opens the tree down to the folder and selects it, unless it is selected
    // already. A folder outside the listed drives (a network share) gets an
    // item of its own at the top.
    void selectFolder(std::wstring_view folder);
    void clearSelection();

    // Notifications from the tree view; true when handled.
    bool handleNotify(const NMHDR& header);

private:
    HTREEITEM insertItem(HTREEITEM parent, const std::wstring& name, const std::wstring& path, bool drive);
    // Lists the subfolders of the item once.
    void loadChildren(HTREEITEM item);
    const std::wstring& pathOf(HTREEITEM item) const;
    HTREEITEM childNamed(HTREEITEM parent, std::wstring_view name, bool topLevel) const;

    struct Folder {
        std::wstring path;  // with a trailing "\"
        bool listed = false;
    };

    HWND tree_ = nullptr;
    int folderImage_ = 0;
    int openFolderImage_ = 0;
    std::vector<Folder> folders_;  // item data: index into this list
};

}  // namespace pellion
