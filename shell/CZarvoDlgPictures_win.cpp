// The two pictures in the main window's top band and the flag on the Language button.
#include "classlib/win/CDC.h"
#include "link/CLogger.h"
#include "res/ResourceIds.h"
#include "shell/CZarvoDlg.h"

namespace {

constexpr const char* kImageResourceType = "Image";

void LoadPicture(CxImage& picture, UINT id) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), kImageResourceType);
    if (!picture.LoadImageResource(resource, kImageFormatPng, nullptr)) {
        CLogger::Instance().Log(0, "CZarvoDlg: picture %u could not be decoded: %s", id,
                                picture.GetLastError());
    }
}

void ScalePicture(CxImage& picture, const MainMenuRect& place, CxImage& scaled, UINT id) {
    if (!picture.IsValid()) {
        return;
    }
    if (!picture.ResampleImage(place.width, place.height, kInterpolationLanczos, kOverflowTransparent,
                               &scaled, false)) {
        CLogger::Instance().Log(0, "CZarvoDlg: picture %u could not be scaled to %d x %d.", id, place.width,
                                place.height);
    }
}

}  // namespace

void CZarvoDlg::LoadPictures() {
    LoadPicture(m_emblem, IDR_IMAGE_EMBLEM);
    LoadPicture(m_banner, IDR_IMAGE_BANNER);
}

void CZarvoDlg::ScalePictures(const MainMenuLayout& layout, int clientWidth) {
    const MainMenuPictures places =
        PlaceMainMenuPictures(layout, clientWidth, m_banner.GetWidth(), m_banner.GetHeight());
    ScalePicture(m_emblem, places.emblem, m_emblemScaled, IDR_IMAGE_EMBLEM);
    ScalePicture(m_banner, places.banner, m_bannerScaled, IDR_IMAGE_BANNER);
    m_emblemPosition = {places.emblem.x, places.emblem.y};
    m_bannerPosition = {places.banner.x, places.banner.y};
}

// Both pictures have an alpha plane, so they blend over the background already painted.
void CZarvoDlg::DrawPictures(CDC& dc) {
    m_emblemScaled.DrawImage(dc.GetSafeHdc(), m_emblemPosition.x, m_emblemPosition.y);
    m_bannerScaled.DrawImage(dc.GetSafeHdc(), m_bannerPosition.x, m_bannerPosition.y);
}

void CZarvoDlg::SetLanguageFlag() {
    RECT rect = {};
    m_languageButton.GetClientRect(&rect);
    const int side = (rect.bottom - rect.top) / 2;
    HICON flag = m_resources.LoadIcon(IDI_LANGUAGE_FLAG, side, side);
    if (!m_languageButton.SetIcon(flag, side, side)) {
        CLogger::Instance().Log(0, "CZarvoDlg: the language module has no flag icon %d.", IDI_LANGUAGE_FLAG);
    }
}
