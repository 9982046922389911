// Dialogs from resource templates, modal or modeless, with virtual handlers,
// data exchange that binds wrappers to control ids, and containment of
// controls that the template names by class identifier (each created with
// its saved state from the dialog-initialisation data and wired to the
// dialog's event sink table).
#pragma once

#include "framework/afx_dlgtemplate.h"
#include "framework/afx_wnd_win.h"
#include "framework/control_host.h"
#include "framework/vxcontrols.h"

#include <memory>
#include <vector>

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a wrapper to the dialog's control `id` (a child window or a hosted control).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Control(CDataExchange* dx, int id, vx::ControlWrapper& control);

// One entry of a dialog's event sink table: an event of one hosted control.
using EventSinkHandler = HRESULT (*)(CDialog& dialog, DISPID event, DISPPARAMS* params);
struct EventSinkEntry {
    UINT controlId;
    DISPID event;
    EventSinkHandler handler;
};
struct EventSinkMap {
    const EventSinkEntry* entries = nullptr;
    size_t count = 0;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    INT_PTR DoModal();
    // Modeless window from the template; FALSE when it cannot be created.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    // TRUE when the command was handled. Base: OK and Cancel.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnOK();
    virtual void OnCancel();
    // Called after the window is gone; the object may delete itself here.
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange*) {}
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Other messages; return true with `result` to answer, false for the default.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    virtual EventSinkMap GetEventSinkMap() const { return EventSinkMap(); }

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    vx::ControlSite* FindControlSite(UINT id) const;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    friend void DDX_Control(CDataExchange*, int, vx::ControlWrapper&);
    struct HostedControl;
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool PrepareTemplate(std::vector<unsigned char>& dialog);
    bool CreateControlSites();
    void DestroyControlSites();
    HRESULT RouteEvent(UINT controlId, DISPID event, DISPPARAMS* params);

    bool modal_ = false;
    bool initFailed_ = false;
    bool quietDestroy_ = false; // no PostNcDestroy for a window Create gives up on
    std::vector<afx::ControlSiteTemplate> siteTemplates_;
    std::vector<std::unique_ptr<HostedControl>> hosted_;
    std::vector<vx::ControlWrapper*> boundWrappers_;
};

// Offers a message to the modeless dialog it belongs to (keyboard navigation).
BOOL AfxPreTranslateDialogMessage(MSG* msg);
