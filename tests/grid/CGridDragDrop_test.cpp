// Dragging cells out of the grid and dropping text onto it, driven through the drop events,
// and the OLE that both need.
#include "GridTestFixture.h"
#include "classlib/win/AfxMessageBox.h"
#include "grid/CGridDropHandler.h"
#include "grid/CGridTextDataObject.h"

#include <windows.h>

#include <cstring>
#include <ole2.h>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Offers CF_TEXT whose block ends without a zero byte.
class CUnterminatedText : public CGridTextDataObject {
public:
    CUnterminatedText() : CGridTextDataObject("") {}

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
        std::memcpy(GlobalLock(block), "abc", 3);
        GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
};

class GridDragTest : public GridTest {
protected:
    void SetUp() override { OleInitialize(nullptr); }

    void TearDown() override {
        CGridCtrl::SetDragRunner(nullptr);
        OleUninitialize();
    }

    DWORD State(int row, int col) { return m_grid.GetCellState(row, col); }
};

CGridCtrl* g_target = nullptr;
CPoint g_dropPoint;

// The user drags onto g_dropPoint of g_target and lets go.
DWORD DropOnTarget(IDataObject* data, DWORD allowed) {
    g_target->OnDragEnter(data, 0, g_dropPoint);
    g_target->OnDragOver(data, 0, g_dropPoint);
    return g_target->OnDrop(data, DROPEFFECT_MOVE, g_dropPoint) ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

}  // namespace

TEST_F(GridDragTest, TheCellUnderADragIsHighlightedAndTakesTheDroppedText) {
    Build(5, 5);
    CGridTextDataObject* data = new CGridTextDataObject("x\ty");
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), m_grid.OnDragEnter(data, 0, CellCentre(2, 2)));

    m_grid.EnableDragAndDrop(TRUE);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), m_grid.OnDragEnter(data, MK_CONTROL, CellCentre(2, 2)));
    EXPECT_EQ(DWORD(DROPEFFECT_MOVE), m_grid.OnDragEnter(data, 0, CellCentre(2, 2)));
    EXPECT_NE(0u, State(2, 2) & GRID_STATE_DROPHILITED);

    EXPECT_EQ(DWORD(DROPEFFECT_MOVE), m_grid.OnDragOver(data, 0, CellCentre(3, 3)));
    EXPECT_EQ(0u, State(2, 2) & GRID_STATE_DROPHILITED);
    EXPECT_NE(0u, State(3, 3) & GRID_STATE_DROPHILITED);

    EXPECT_EQ(DWORD(DROPEFFECT_NONE), m_grid.OnDragOver(data, 0, CellCentre(0, 2)));
    EXPECT_EQ(0u, State(3, 3) & GRID_STATE_DROPHILITED);

    m_grid.SetCellState(4, 4, State(4, 4) | GRID_STATE_READONLY);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), m_grid.OnDragOver(data, 0, CellCentre(4, 4)));

    m_grid.OnDragOver(data, 0, CellCentre(2, 2));
    EXPECT_TRUE(m_grid.OnDrop(data, DROPEFFECT_MOVE, CellCentre(2, 2)));
    EXPECT_EQ(CString("x"), m_grid.GetCellText(2, 2));
    EXPECT_EQ(CString("y"), m_grid.GetCellText(2, 3));
    EXPECT_EQ(0u, State(2, 2) & GRID_STATE_DROPHILITED);
    EXPECT_EQ((std::vector<GridTestEvent>{{GRIDN_ENDEDIT, 2, 2}, {GRIDN_ENDEDIT, 2, 3}}),
              m_host.EventsOf({GRIDN_ENDEDIT}));
    data->Release();
}

TEST_F(GridDragTest, AMoveOntoAnOverlappingAreaEmptiesOnlyTheCellsLeftBehind) {
    Build(4, 5);
    m_grid.SetCellText(1, 1, "a");
    m_grid.SetCellText(1, 2, "b");
    m_grid.EnableDragAndDrop(TRUE);
    m_grid.SetSelectedRange(1, 1, 1, 2);
    g_target = &m_grid;
    g_dropPoint = CellCentre(1, 2);
    CGridCtrl::SetDragRunner(DropOnTarget);
    m_grid.OnBeginDrag();
    EXPECT_EQ(CString(""), m_grid.GetCellText(1, 1));
    EXPECT_EQ(CString("a"), m_grid.GetCellText(1, 2));
    EXPECT_EQ(CString("b"), m_grid.GetCellText(1, 3));
    const std::vector<GridTestEvent> drags = {{GRIDN_BEGINDRAG, 1, 1}};
    EXPECT_EQ(drags, m_host.EventsOf({GRIDN_BEGINDRAG}));
}

TEST_F(GridDragTest, DroppedTextWithoutAnEndIsReadOnlyAsFarAsItsBlock) {
    Build(4, 4);
    m_grid.EnableDragAndDrop(TRUE);
    CUnterminatedText* data = new CUnterminatedText();
    m_grid.OnDragEnter(data, 0, CellCentre(1, 1));
    EXPECT_TRUE(m_grid.OnDrop(data, DROPEFFECT_COPY, CellCentre(1, 1)));
    EXPECT_EQ(CString("abc"), m_grid.GetCellText(1, 1));
    data->Release();
}

TEST_F(GridDragTest, TheGridWindowIsRegisteredAsADropTargetOnce) {
    Build(3, 3);
    m_grid.SetWindowPos(nullptr, 0, 0, 250, 150, SWP_NOZORDER | SWP_NOMOVE);
    CGridDropHandler other;
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, RegisterDragDrop(m_grid.GetSafeHwnd(), &other));
}

// A grid built on a thread without OLE initialises it there, for its drop target; on a
// thread whose COM apartment rules OLE out it says so, once in the program however many
// grids and threads fail, and is built all the same.
TEST(GridOle, BuildingAGridInitialisesOleOnItsThreadOrSaysItCannot) {
    std::vector<std::string> shown;
    const AfxPrompter previous = AfxSetPrompter([&shown](const char* text, UINT, const char*) {
        shown.push_back(text);
        return IDOK;
    });
    HRESULT again = E_FAIL;
    std::thread([&again] {
        { CGridCtrl grid; }
        again = OleInitialize(nullptr);
        if (SUCCEEDED(again)) {
            OleUninitialize();
        }
    }).join();
    EXPECT_EQ(S_FALSE, again);  // the grid's initialisation is still in force
    EXPECT_TRUE(shown.empty());

    const auto buildOnMultithreadedApartment = [] {
        bool built = false;
        std::thread([&built] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            {
                CGridCtrl grid(2, 3);
                CGridCtrl second(1, 1);
                built = grid.GetRowCount() == 2 && grid.GetColumnCount() == 3;
            }
            CoUninitialize();
        }).join();
        return built;
    };
    EXPECT_TRUE(buildOnMultithreadedApartment());
    EXPECT_TRUE(buildOnMultithreadedApartment());
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("OLE initialization failed. Make sure that the OLE libraries are the correct version",
              shown[0]);
    AfxSetPrompter(previous);
}
