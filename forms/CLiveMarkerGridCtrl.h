// A table grid over engine speed (columns) and injection time (rows) that draws a round
// marker where the engine works now, moved after each cycle of live polling. It shows no
// title tips.
#pragma once

#include "classlib/win/CBrush.h"
#include "forms/CMarkerGridCtrl.h"
#include "link/IMessageTarget.h"

class CDataHandler;
class IResourceManager;

class CLiveMarkerGridCtrl : public CMarkerGridCtrl, public IMessageTarget {
public:
    CLiveMarkerGridCtrl();
    ~CLiveMarkerGridCtrl() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }

    void SetResourceManager(IResourceManager* resourceManager) { m_resourceManager = resourceManager; }

    // Clears the axes, the marker and the live values, and subscribes to the data handler.
    void InitMarker();

    void EnableMarker(BOOL enable) { m_markerEnabled = enable != FALSE; }

    void OnDraw(CDC* dc) override;

    // The data handler's messages arrive through the window's queue.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    void OnMouseMove(UINT flags, CPoint point);
    void OnKillFocus(CWnd* newWnd);

protected:
    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnConnectionStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnLiveCycle(WPARAM wParam, LPARAM lParam);

    IResourceManager* GetResourceManager() const { return m_resourceManager; }

    DECLARE_MESSAGE_MAP()

private:
    void ReadLiveValues();
    void MoveMarker();

    CDataHandler* m_dataHandler = nullptr;          // not owned
    IResourceManager* m_resourceManager = nullptr;  // not owned
    bool m_markerEnabled = false;
    bool m_registered = false;
    int m_engineSpeed = 0;
    int m_injectionTime = 0;
    double m_trimFactor = 1.0;
    CBrush m_outerBrush;
    CBrush m_innerBrush;
};
