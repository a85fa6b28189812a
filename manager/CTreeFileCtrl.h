// A tree of the file system as the shell shows it: the Desktop, My Documents, My Computer with
// its drives, the Network, and below them folders and files with their system icons. Items are
// filled when they are expanded. The tree keeps a history of selections, walks a path to
// select it, renames, deletes and creates folders through the shell, and tells the program's
// main window when the user opens a file.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/win/CTreeCtrl.h"
#include "manager/CFolderWatchThread.h"
#include "manager/CSelectionHistory.h"
#include "manager/CTreeFileItem.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <shlobj.h>
#include <vector>

class CCmdUI;
class CDataExchange;

// Sent (not posted) to the main window: wParam kOpenFile opens the file whose path (a
// const CString*) is lParam; kMakeZipped asks for a zipped update file made from it.
constexpr UINT WM_TREE_FILE_ACTION = 0x600;

class CTreeFileCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CTreeFileCtrl)

public:
    enum FileAction {
        kOpenFile = 1,
        kMakeZipped = 2
    };

    // The network enumeration of the system; tests put their own in.
    typedef DWORD(APIENTRY* NetOpenEnumFn)(DWORD scope,
                                           DWORD type,
                                           DWORD usage,
                                           LPNETRESOURCEA resource,
                                           LPHANDLE handle);
    typedef DWORD(APIENTRY* NetEnumResourceFn)(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD size);
    typedef DWORD(APIENTRY* NetCloseEnumFn)(HANDLE handle);

    struct NetworkFunctions {
        NetOpenEnumFn openEnum;
        NetEnumResourceFn enumResource;
        NetCloseEnumFn closeEnum;
    };

    static void SetNetworkFunctions(const NetworkFunctions& functions);
    static void ResetNetworkFunctions();

    CTreeFileCtrl();
    ~CTreeFileCtrl() override;

    virtual CString ItemToPath(HTREEITEM item) const;
    virtual HTREEITEM PathToItem(const CString& path) const;
    virtual bool IsFile(const CString& path) const;
    virtual bool IsFileItem(HTREEITEM item) const;
    virtual bool IsFolder(const CString& path) const;
    virtual bool IsFolderItem(HTREEITEM item) const;
    virtual bool IsDriveRoot(const CString& path) const;
    virtual bool IsDriveRootItem(HTREEITEM item) const;
    virtual bool IsCompressed(const CString& path) const;
    virtual bool IsCompressedItem(HTREEITEM item) const;
    virtual bool IsEncrypted(const CString& path) const;
    virtual bool IsEncryptedItem(HTREEITEM item) const;
    virtual bool IsShared(const CString& path) const;
    virtual bool RenameItem(HTREEITEM item);
    virtual bool ShowProperties(HTREEITEM item);
    virtual bool DeleteItem(HTREEITEM item);
    virtual bool OpenItem(HTREEITEM item);
    // Creates a folder below parent (a generated name when name is empty) and starts editing
    // its label. Null when it was not made.
    virtual HTREEITEM NewFolder(HTREEITEM parent, const CString& name);
    virtual void Initialize();
    virtual bool GoUp();
    virtual void Refresh();
    virtual bool GoBack();
    virtual bool CanGoBack() const;
    virtual bool GoForward();
    virtual bool CanGoForward() const;
    virtual int GetMaxHistory() const;
    virtual void SetMaxHistory(int limit);
    virtual void EnumFolder(const CString& path, HTREEITEM parent, bool stopRedraw, bool deleteChildren);
    virtual void EnumDrives(HTREEITEM parent);
    virtual int GetPidlIcon(LPCITEMIDLIST pidl) const;
    virtual int GetItemIcon(HTREEITEM item) const;
    virtual int GetIconIndex(const CString& path) const;
    virtual int GetPidlOpenIcon(LPCITEMIDLIST pidl) const;
    virtual int GetItemSelectedIcon(HTREEITEM item) const;
    virtual int GetOpenIconIndex(const CString& path) const;
    virtual bool HasSubItems(const CString& path) const;
    virtual bool HasChildNamed(HTREEITEM item, const CString& text) const;
    // Takes the item data. checkChildren false: the item gets an expand button without looking.
    virtual HTREEITEM InsertFileItem(HTREEITEM parent,
                                     std::unique_ptr<CTreeFileItem> data,
                                     bool shared,
                                     int image,
                                     int selectedImage,
                                     bool checkChildren);
    virtual HTREEITEM FindChild(HTREEITEM parent, const CString& name) const;
    virtual bool IsMediaDrive(const CString& path) const;
    virtual bool CanDrag(HTREEITEM item) const;
    virtual HTREEITEM GetDropTarget(HTREEITEM item) const;
    virtual HTREEITEM CopyItem(HTREEITEM item, HTREEITEM newParent, HTREEITEM after);
    virtual HTREEITEM CopyBranch(HTREEITEM item, HTREEITEM newParent, HTREEITEM after);
    virtual bool IsFileShown(const WIN32_FIND_DATAA& entry) const;
    virtual bool IsFolderShown(const WIN32_FIND_DATAA& entry) const;
    virtual bool IsDriveShown(const CString& root) const;
    virtual bool IsNetworkItemShown(const NETRESOURCEA& resource) const;
    virtual bool CanWatch(const CString& path) const;
    virtual void StartWatch(const CString& path);
    virtual void StopAllWatches();
    virtual void StopWatch(const CString& path);
    virtual DWORD GetVolumeSerial(const CString& root, bool& answered) const;
    virtual bool CheckMedia(const CString& path);
    virtual void OnSelectionChanged(HTREEITEM item, const CString& path);
    virtual bool EnumNetwork(HTREEITEM parent);
    virtual CString GetDriveDisplayName(const CString& root) const;
    virtual CString MakeNewFolderName(const CString& folder) const;
    virtual void AddSpecialRoots();

    // Selects the item of path, creating the items on the way; null when not found.
    HTREEITEM SelectPath(const CString& path, bool expand);
    CString GetSelectedPath() const;

    const CTreeFileItem* GetFileItem(HTREEITEM item) const;

    // Switches of the tree; everything but dragging and watching is allowed by default.
    void SetShowFiles(bool show) { m_showFiles = show; }

    void SetFileTextMode(int mode) { m_fileTextMode = mode; }

    void SetWatching(bool watching) { m_watching = watching; }

    void SetAllowDrag(bool allow) { m_allowDrag = allow; }

    // The end of a drag: copies (copy) or moves the dragged item's file or folder into the
    // target folder through the shell and updates the tree. False when nothing was done.
    bool DropItem(HTREEITEM dragged, HTREEITEM target, bool copy);

    bool IsWatching() const { return m_watching.load(); }

    int GetWatchCount() const { return static_cast<int>(m_watches.size()); }

    void SetRootPath(const CString& root) { m_rootPath = root; }

    HTREEITEM GetDesktopItem() const { return m_desktopItem; }

    HTREEITEM GetMyComputerItem() const { return m_myComputerItem; }

    HTREEITEM GetMyDocumentsItem() const { return m_myDocumentsItem; }

    HTREEITEM GetNetworkItem() const { return m_networkItem; }

    const CSelectionHistory& GetHistory() const { return m_history; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;

    BOOL OnSelChanged(NMHDR* header, LRESULT* result);
    void OnItemExpanding(NMHDR* header, LRESULT* result);
    void OnItemExpanded(NMHDR* header, LRESULT* result);
    void OnDeleteItem(NMHDR* header, LRESULT* result);
    void OnBeginLabelEdit(NMHDR* header, LRESULT* result);
    void OnEndLabelEdit(NMHDR* header, LRESULT* result);
    void OnDblClick(NMHDR* header, LRESULT* result);
    void OnRightClick(NMHDR* header, LRESULT* result);
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnDestroy();
    LRESULT OnFolderChanged(WPARAM wParam, LPARAM lParam);
    void OnBeginDrag(NMHDR* header, LRESULT* result);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);

    void OnNewFolderCommand();
    void OnNewZippedCommand();
    void OnDeleteCommand();
    void OnRenameCommand();
    void OnRefreshCommand();
    void OnUpdateNewFolder(CCmdUI* item);
    void OnUpdateNewZipped(CCmdUI* item);
    void OnUpdateDelete(CCmdUI* item);
    void OnUpdateRename(CCmdUI* item);

    DECLARE_MESSAGE_MAP()

private:
    // How a selecting walk readies its start item before it looks below it.
    enum StartFill {
        kLeaveAsIs,
        kExpandOnly,
        kFillAndExpand
    };

    // Where a walk of a path begins: the item (none when the path lies outside the root
    // path), the rest of the path below it, and how a selecting walk readies it.
    struct WalkStart {
        HTREEITEM item = nullptr;
        CString rest;
        bool firstKeepsBackslash = false;  // the first component is a drive root ("C:\")
        bool throughServers = false;       // item is the Network: the walk goes on below its servers' parent
        StartFill fill = kLeaveAsIs;
    };

    // The selected path and whether its item was expanded, to select again after a refill.
    struct SelectionMark {
        CString path;
        bool expanded = false;
    };

    static bool IsKeyDown(int key);
    CTreeFileItem* DataOf(HTREEITEM item) const;
    HTREEITEM InsertOwnedItem(TVINSERTSTRUCTA& insert, std::unique_ptr<CTreeFileItem> data);
    HTREEITEM InsertSpecialItem(HTREEITEM parent, int csidl, int kind, CString* pathOut);
    HTREEITEM InsertFolderEntry(HTREEITEM parent,
                                const CString& folder,
                                const WIN32_FIND_DATAA& entry,
                                bool file);
    bool VisitShownEntries(const CString& path,
                           const std::function<bool(const WIN32_FIND_DATAA&, bool)>& visit) const;
    CString DisplayText(const CString& path, const CString& name, bool file, BYTE& shellTitle) const;
    void PopulateItem(HTREEITEM item);
    void SortChildren(HTREEITEM parent);
    static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM param);
    WalkStart StartOf(const CString& path) const;
    void PrepareStart(const WalkStart& start);
    HTREEITEM WalkPath(const CString& path,
                       const std::function<void(const WalkStart&)>& prepare,
                       const std::function<void(HTREEITEM, bool)>& reach) const;
    HTREEITEM FindServerParent(HTREEITEM item) const;
    SelectionMark MarkSelection() const;
    void RestoreSelection(const SelectionMark& mark);
    bool StepThroughHistory(HTREEITEM target, void (CSelectionHistory::*keepLeft)(CSelectionHistory::Item));
    void DeleteChildren(HTREEITEM item);
    void CollapseAndReset(HTREEITEM item);
    void RemoveItem(HTREEITEM item);
    bool IsSpecialItem(HTREEITEM item) const;
    bool MayChangeItem(HTREEITEM item, bool allowed) const;
    void SendFileAction(FileAction action, const CString& path);
    CWnd* ActionTarget() const;
    HWND OwnerWindow() const;
    bool ExecuteItem(HTREEITEM item, LPCSTR verb);
    void OpenContextMenu(CPoint screenPoint);
    void OpenMenuAtSelection();
    int ShellFileOperation(UINT operation,
                           const CString& from,
                           const CString& to,
                           FILEOP_FLAGS flags,
                           HWND owner);
    bool HandleKey(const MSG& msg);
    void EndDrag(bool cancelled);
    void ScrollDuringDrag();

    CString m_rootPath;
    CString m_myDocumentsPath;
    CString m_desktopPath;
    bool m_showFiles = true;
    HTREEITEM m_topItem = TVI_ROOT;
    HTREEITEM m_dragItem = nullptr;
    HTREEITEM m_dropTarget = nullptr;
    HIMAGELIST m_dragImage = nullptr;
    UINT_PTR m_dragTimer = 0;
    HCURSOR m_copyCursor = nullptr;
    HCURSOR m_copyRefusedCursor = nullptr;
    HCURSOR m_moveCursor = nullptr;
    HCURSOR m_moveRefusedCursor = nullptr;
    int m_expandTicks = 0;
    HTREEITEM m_networkItem = nullptr;
    HTREEITEM m_desktopItem = nullptr;
    HTREEITEM m_myDocumentsItem = nullptr;
    HTREEITEM m_myComputerItem = nullptr;
    HTREEITEM m_rootItem = nullptr;
    bool m_showMyComputer = true;
    bool m_showDesktop = true;
    bool m_showMyDocuments = true;
    bool m_allowDrag = false;
    bool m_allowRename = true;
    bool m_allowOpen = true;
    bool m_allowProperties = true;
    bool m_allowDelete = true;
    bool m_allowNewFolder = true;
    DWORD m_hiddenDriveTypes = 0;
    DWORD m_excludedFileAttributes = 0x1106;
    DWORD m_excludedFolderAttributes = 0x1106;
    CStringArray m_filePatterns;
    COLORREF m_compressedColor = RGB(0, 0, 255);
    bool m_showCompressed = true;
    COLORREF m_encryptedColor = RGB(255, 0, 0);
    bool m_showEncrypted = true;
    CSelectionHistory m_history;
    bool m_navigating = false;
    std::vector<std::unique_ptr<CFolderWatchThread>> m_watches;
    UINT m_nextWatchId = 1;
    std::atomic<bool> m_watching;
    bool m_showNetwork = true;
    bool m_showSharedOverlay = true;
    int m_fileTextMode = 2;
    DWORD m_volumeSerials[26];
    IShellFolder* m_desktopFolder = nullptr;
    DWORD m_networkResourceType = RESOURCETYPE_ANY;
    bool m_driveDisplayNames = true;
    bool m_rootItemSwitch = false;
    int m_computerIcon = -1;
    int m_computerOpenIcon = -1;
    std::map<CTreeFileItem*, std::unique_ptr<CTreeFileItem>> m_items;  // the data of every item

    static NetworkFunctions s_network;
};

// Exchanges a path with the tree: saving gives the selected path, loading selects path.
void DDX_FileTreeValue(CDataExchange* exchange, CTreeFileCtrl& tree, CString& path);
