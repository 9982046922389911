// The main form `ulmarsh`: every input of the unzip control, the run of one
// function and the display of its results.
#pragma once

#include <memory>

#include "framework/control_host.h"
#include "framework/forms_common_dialog_win.h"
#include "framework/forms_form_win.h"
#include "ulmarsh/dispatch_properties_win.h"
#include "ulmarsh/unzip_event_handlers_win.h"
#include "ulmarsh/unzip_run.h"

namespace ulmarsh {

// Shows a result in its box; a result that was not read empties the box.
void ShowResult(forms::Form& form, int id, const ResultText& text);

class AboutForm;
class RenameForm;
class StringForm;

class MainForm : public forms::Form {
public:
    explicit MainForm(HINSTANCE instance);
    ~MainForm() override;

    // Used by the string form, which drives the control through this form.
    bool ReadOptionInputs(UnzipOptionInputs& in);  // false: a box holds no valid number
    RunTargets Targets() {
        return RunTargets{unzipProps_, majorProps_, minorProps_, events_->Session()};
    }
    void ShowItemInfoTexts(const ItemInfoTexts& t);
    void ReportBadNumber(UINT boxNameId, long min, long max, HWND owner);
    forms::CommonDialog& CommonDialog1() { return commonDialog1_; }
    // Runs are not nested: the run buttons are disabled while one is in progress.
    void BeginRun();
    // Shows the run's failure over `owner` (`completed`: the run itself ended
    // and a result could not be read), then gives the run buttons back, then
    // carries out a close asked for during the run or while its failure showed.
    void EndRun(const PropertySession& run, bool completed, HWND owner);

    RenameForm& Rename() { return *rename_; }

protected:
    bool OnLoad() override;

private:
    bool CreateHostedControls();
    void RunSelectedFunction();
    void BrowseForArchive();
    void ApplyExternalProgressState();
    void OpenStringForm();
    void OpenAbout();
    bool CloseRequest();
    void ReleaseControls();
    void SetRunButtonsEnabled(bool enabled);
    void ReportFailure(const PropertyFailure& f, UINT messageId, HWND owner);

    vx::ControlSite unzipSite_;
    vx::ControlSite majorSite_;
    vx::ControlSite minorSite_;
    DispatchProperties unzipProps_{"unzipctrl"};
    DispatchProperties majorProps_{"MajorStatusCtrl"};
    DispatchProperties minorProps_{"MinorStatusCtrl"};
    forms::CommonDialog commonDialog1_;
    std::unique_ptr<RenameForm> rename_;
    std::unique_ptr<StringForm> stringForm_;
    std::unique_ptr<AboutForm> about_;
    std::unique_ptr<UnzipEventHandlers> events_;
    bool closeAfterRun_ = false;
    bool reportingRun_ = false;  // a run's failure is on screen
};

}  // namespace ulmarsh
