#include "shell/CTransferProgressDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <cstring>

namespace {

constexpr const char* kCaption =
    "\xDC"
    "bertrage Daten ...";
constexpr UINT kReadingId = 15423;  // "Reading: %d%%."

constexpr int kRecordHeader = 3;

}  // namespace

BEGIN_MESSAGE_MAP(CTransferProgressDlg, CProgressDlgBase)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_BN_CLICKED(CTransferProgressDlg::kCloseId, OnCloseButton)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTransferProgressDlg::CTransferProgressDlg(CWnd* parent)
    : CProgressDlgBase(kTemplateId, {kProgressTextId, kProgressId, kStateTextId, kCloseId}, parent) {}

CTransferProgressDlg::~CTransferProgressDlg() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
        m_dataHandler->Unsubscribe(this, kElementBlock, kFlagTransferred);
        m_dataHandler->Unsubscribe(this, kElementStep, kFlagTransferred);
    }
}

bool CTransferProgressDlg::SetTransfer(bool reading,
                                       BYTE blockId,
                                       BYTE* buffer,
                                       int total,
                                       int bytesPerStep) {
    if (buffer == nullptr || total < 0 || bytesPerStep != kBytesPerStep || total % bytesPerStep != 0) {
        return false;
    }
    m_reading = reading;
    m_blockId = blockId;
    m_buffer = buffer;
    m_total = total;
    m_bytesPerStep = bytesPerStep;
    // Sized from the step: the record carries a whole step when writing.
    m_request.assign(static_cast<size_t>(kRecordHeader + bytesPerStep), 0);
    m_receive.assign(static_cast<size_t>(bytesPerStep), 0);
    return true;
}

BOOL CTransferProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Layout();
    m_state = kOpening;
    m_step = -1;
    m_count = 0;
    m_maximum = m_total + 2;
    m_progress.SetRange32(0, m_maximum);
    m_progress.SetPos(0);
    if (m_dataHandler == nullptr || m_request.empty()) {
        Fail();
        return TRUE;
    }
    m_dataHandler->RegisterWindow(this);
    m_dataHandler->Subscribe(this, kElementBlock, kFlagTransferred);
    m_dataHandler->Subscribe(this, kElementStep, kFlagTransferred);
    QueueBlockRecord(m_blockId);
    return TRUE;
}

void CTransferProgressDlg::Layout() {
    LayOut(Centring::kOnParentElseWorkArea);
    SetWindowText(kCaption);
    m_count = 0;
    m_maximum = m_total + 2;
    ShowProgress(kInitializingId);
    ShowState(kWaitingId);
    if (m_resources != nullptr) {
        m_closeButton.SetWindowText(m_resources->GetString(kCloseTextId));
    }
}

// Without texts the template's stay, as in ShowState.
void CTransferProgressDlg::ShowProgress(UINT formatId) {
    if (m_resources != nullptr) {
        ShowProgressLine(formatId, m_maximum > 0 ? m_count * 100 / m_maximum : 0);
    }
}

void CTransferProgressDlg::ShowState(UINT textId) {
    if (m_resources != nullptr) {
        m_stateText.SetWindowText(m_resources->GetString(textId));
    }
}

// With the link down nothing is queued and no completion will ever come.
void CTransferProgressDlg::QueueBlockRecord(BYTE value) {
    m_request[0] = value;
    if (!IsLinkUp(m_dataHandler->RequestWriteFrom(kElementBlock, m_request.data(), m_receive.data()))) {
        Fail();
    }
}

void CTransferProgressDlg::QueueNextStep() {
    ++m_step;
    if (m_step >= m_total / m_bytesPerStep) {
        QueueBlockRecord(0);
        return;
    }
    m_request[0] = static_cast<BYTE>(m_step & 0xFF);
    m_request[1] = 0;
    m_request[2] = static_cast<BYTE>(m_bytesPerStep - 1);
    int status = 0;
    if (m_reading) {
        status = m_dataHandler->RequestReadTo(kElementStep, m_request.data(), m_receive.data());
    } else {
        std::memcpy(m_request.data() + kRecordHeader, m_buffer + m_step * m_bytesPerStep,
                    static_cast<size_t>(m_bytesPerStep));
        status = m_dataHandler->RequestWriteFrom(kElementStep, m_request.data(), m_receive.data());
    }
    if (!IsLinkUp(status)) {
        Fail();
    }
}

LRESULT CTransferProgressDlg::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    if (m_state == kFailed || m_state == kFinished) {
        return 0;
    }
    const int element = LOWORD(lParam);
    // Only a step this run asked for: a late one of an earlier run may come while opening.
    if (element == kElementStep &&
        (m_state != kStepping || m_step < 0 || m_step >= m_total / m_bytesPerStep)) {
        return 0;
    }
    if (wParam == 0 && (element == kElementBlock || element == kElementStep)) {
        // The transfer failed: the run ends as it does when the link goes.
        Fail();
        return 0;
    }
    const UINT transferFormat = m_reading ? kReadingId : kWritingId;
    if (element == kElementBlock) {
        m_progress.SetPos(++m_count);
        if (m_state == kOpening) {
            m_step = -1;
            m_state = kStepping;
            ShowProgress(kInitializingId);
            ShowState(kProgrammingId);
        } else {
            m_closeButton.EnableWindow(TRUE);
            ShowProgress(transferFormat);
            ShowState(kFinishedId);
            m_state = kFinished;
        }
    } else if (element == kElementStep) {
        if (m_reading) {
            std::memcpy(m_buffer + m_step * m_bytesPerStep, m_receive.data(),
                        static_cast<size_t>(m_bytesPerStep));
        }
        m_count += m_bytesPerStep;
        m_progress.SetPos(m_count);
        ShowProgress(transferFormat);
        ShowState(kProgrammingId);
    } else {
        return 0;
    }
    if (m_state == kStepping) {
        QueueNextStep();
    }
    return 0;
}

LRESULT CTransferProgressDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    if (!IsLinkUp(static_cast<int>(status)) && m_state != kFailed && m_state != kFinished) {
        Fail();
    }
    return 0;
}

// Queued requests of a transfer that failed or went must not be served when the unit comes
// back: a step would reach it without its closing record, and a read step's reply would
// land in the receive buffer of a dialog that is gone. A queued closing record still goes.
void CTransferProgressDlg::WithdrawRequests() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->WithdrawRequests(kElementStep);
    if (m_state == kOpening) {
        m_dataHandler->WithdrawRequests(kElementBlock);
    }
}

void CTransferProgressDlg::Fail() {
    WithdrawRequests();
    m_state = kFailed;
    ShowState(kConnectionLostId);
    m_closeButton.EnableWindow(TRUE);
}

LRESULT CTransferProgressDlg::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

void CTransferProgressDlg::OnCloseButton() {
    EndDialog(1);
}

void CTransferProgressDlg::OnDestroy() {
    Default();
    if (m_state != kFinished) {
        WithdrawRequests();
    }
    if (m_dataHandler != nullptr) {
        m_dataHandler->Unsubscribe(this, kElementBlock, kFlagTransferred);
        m_dataHandler->Unsubscribe(this, kElementStep, kFlagTransferred);
        m_dataHandler->UnregisterWindow(this);
    }
}
