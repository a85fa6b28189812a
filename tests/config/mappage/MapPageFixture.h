// The map page under Wine in a stand-in main window, fed by a data handler whose unit is
// connected and idle. Maps arrive as the unit's full read delivers them (0x600, loaded as a
// whole); the modal parts (calibration mode menu, dialogs, the grid's popup) are answered by
// the test instead of the user.
#pragma once

#include "config/CConfigDynamic.h"
#include "link/DataHandlerMessages.h"
#include "link/ElementTable.h"
#include "tests/config/model/MapModelFixture.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

class MapPageFixture : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        page.SetDialogRunner(
            [this](CDialog& dialog) { return dialogRunner ? dialogRunner(dialog) : IDCANCEL; });
        ASSERT_TRUE(page.Create(CConfigDynamic::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
        PumpMessages();
        boxes.clear();
    }

    BYTE* Element(int element) { return handler.GetImage(kImageWorking) + handler.GetElementOffset(element); }

    // The element arrives loaded as a whole.
    void Load(int element, const std::vector<BYTE>& bytes) {
        const std::size_t length = std::min<std::size_t>(bytes.size(), handler.GetElementLength(element));
        std::copy(bytes.begin(), bytes.begin() + length, Element(element));
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | kReasonLoaded);
        grid().PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | kReasonLoaded);
        PumpMessages();
    }

    // rpm 1000..5000 (columns), 2..8 ms (rows), cell = 10 row + column; the base first.
    void LoadGrid(int basePercent = 28) {
        Load(kElementBasePercent, {static_cast<BYTE>(basePercent - 28)});
        Load(kElementCorrectionMap, EncodeMap({1000, 2000, 3000, 4000, 5000}, {2000, 4000, 6000, 8000},
                                              [](int r, int c) { return 10 * r + c; }));
        queue.requests.clear();
    }

    std::vector<QueuedRequest> Writes(int element) const {
        std::vector<QueuedRequest> found;
        for (const QueuedRequest& r : queue.requests) {
            if (r.element == element) {
                found.push_back(r);
            }
        }
        return found;
    }

    CMeasurementGridCtrl& grid() { return page.GetGrid(); }

    std::string CellText(int row, int column) { return std::string(grid().GetCellText(row, column)); }

    // The centre of a grid cell in the grid's client coordinates.
    POINT CellCentre(int row, int column) {
        RECT rect = {};
        grid().GetCellRect(row, column, &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    void RightClick(POINT point) {
        const LPARAM at = MAKELPARAM(point.x, point.y);
        grid().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
        grid().SendMessage(WM_RBUTTONUP, 0, at);
        PumpMessages();
    }

    void Command(UINT id) {
        page.SendMessage(WM_COMMAND, id, 0);
        PumpMessages();
    }

    CConfigDynamic page{nullptr};
    std::function<INT_PTR(CDialog&)> dialogRunner;
};
