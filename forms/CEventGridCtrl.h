// The event log's grid: the tips of columns 4 and 5 below the first row come from the
// event log page, which hands in its tip function when it builds the grid.
#pragma once

#include "forms/CPageTipGridCtrl.h"

#include <functional>

class CEventGridCtrl : public CPageTipGridCtrl {
public:
    // Fills the text and the font of the tip of (row, column).
    typedef std::function<void(CString& text, LOGFONTA& font, int row, int column)> TipSource;

    CEventGridCtrl() = default;

    void SetTipSource(TipSource source) { m_tipSource = std::move(source); }

protected:
    bool AskForTip(int row, int col, GridTipRequest& request) override;

private:
    TipSource m_tipSource;
};
