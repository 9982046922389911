// The programs' side of the archive controls: class identifiers, typed
// property wrappers over IDispatch and the decoding of the controls' events.
#pragma once

#include "framework/com_holders.h"
#include "framework/vxcontrols_ids.h"

#include <ocidl.h>
#include <string>

namespace vx {

// Class identifiers and ProgIDs of the controls; the events interfaces are
// found through the control's IProvideClassInfo2, these are for direct use.
extern const CLSID CLSID_vxunzipctrl;
extern const CLSID CLSID_vxzipctrl;
extern const CLSID CLSID_vxstatusctrl;
extern const IID DIID_vxunzipEvents;
extern const IID DIID_vxzipEvents;
constexpr const char* kUnzipProgId = "VXUNZIPLibCtl.vxunzipctrl";
constexpr const char* kZipProgId = "VXZIPLibCtl.vxzipctrl";
constexpr const char* kStatusProgId = "VXSTATUSLibCtl.vxstatusctrl";

// Property put/get by DISPID on any dispatch interface, one typed value each.
// Text crosses as ANSI and travels as a BSTR; BOOL is the 16-bit -1/0 form.
HRESULT PutBstr(IDispatch* d, DISPID id, const char* text);
HRESULT PutI2(IDispatch* d, DISPID id, short value);
HRESULT PutI4(IDispatch* d, DISPID id, long value);
HRESULT PutBool(IDispatch* d, DISPID id, bool value);
HRESULT GetBstr(IDispatch* d, DISPID id, std::string& text);
HRESULT GetI2(IDispatch* d, DISPID id, short& value);
HRESULT GetI4(IDispatch* d, DISPID id, long& value);
HRESULT GetBool(IDispatch* d, DISPID id, bool& value);

// Base of the typed wrappers: a shared reference to the control's IDispatch.
// Setters return the HRESULT; getters return the value, or 0/""/false when the
// call fails (LastResult() tells).
class ControlWrapper {
public:
    void Attach(IDispatch* d) { disp_ = ComPtr<IDispatch>::Share(d); }
    void Detach() { disp_.Reset(); }
    IDispatch* Dispatch() const { return disp_.Get(); }
    explicit operator bool() const { return static_cast<bool>(disp_); }
    HRESULT LastResult() const { return last_; }

protected:
    HRESULT SetText(DISPID id, const char* text) { return last_ = PutBstr(disp_.Get(), id, text); }
    HRESULT SetShort(DISPID id, short v) { return last_ = PutI2(disp_.Get(), id, v); }
    HRESULT SetLong(DISPID id, long v) { return last_ = PutI4(disp_.Get(), id, v); }
    HRESULT SetFlag(DISPID id, bool v) { return last_ = PutBool(disp_.Get(), id, v); }
    std::string Text(DISPID id) const;
    short Short(DISPID id) const;
    long Long(DISPID id) const;
    bool Flag(DISPID id) const;

private:
    ComPtr<IDispatch> disp_;
    mutable HRESULT last_ = S_OK;
};

#define VX_TEXT_PROP(Name, Id) \
    HRESULT Set##Name(const char* v) { return SetText(Id, v); } \
    std::string Get##Name() const { return Text(Id); }
#define VX_SHORT_PROP(Name, Id) \
    HRESULT Set##Name(short v) { return SetShort(Id, v); } \
    short Get##Name() const { return Short(Id); }
#define VX_LONG_PROP(Name, Id) \
    HRESULT Set##Name(long v) { return SetLong(Id, v); } \
    long Get##Name() const { return Long(Id); }
#define VX_FLAG_PROP(Name, Id) \
    HRESULT Set##Name(bool v) { return SetFlag(Id, v); } \
    bool Get##Name() const { return Flag(Id); }

} // namespace vx

// Wrapper of the unzip control, one accessor pair per property.
class Cvxunzipctrl : public vx::ControlWrapper {
public:
    VX_TEXT_PROP(ZIPFile, vx::unzip::ZIPFile)
    VX_TEXT_PROP(FileSpec, vx::unzip::FileSpec)
    VX_LONG_PROP(Index, vx::unzip::Index)
    VX_TEXT_PROP(Destination, vx::unzip::Destination)
    VX_FLAG_PROP(AuxFlagA, vx::unzip::AuxFlagA)
    VX_FLAG_PROP(MajorStatusFlag, vx::unzip::MajorStatusFlag)
    VX_FLAG_PROP(MinorStatusFlag, vx::unzip::MinorStatusFlag)
    VX_FLAG_PROP(FreshenFlag, vx::unzip::FreshenFlag)
    VX_FLAG_PROP(UpdateFlag, vx::unzip::UpdateFlag)
    VX_FLAG_PROP(OverwriteFlag, vx::unzip::OverwriteFlag)
    VX_FLAG_PROP(QuietFlag, vx::unzip::QuietFlag)
    VX_FLAG_PROP(TestFlag, vx::unzip::TestFlag)
    VX_FLAG_PROP(NoDirectoryItemsFlag, vx::unzip::NoDirectoryItemsFlag)
    VX_FLAG_PROP(RecurseFlag, vx::unzip::RecurseFlag)
    VX_FLAG_PROP(NoDirectoryNamesFlag, vx::unzip::NoDirectoryNamesFlag)
    VX_LONG_PROP(Count, vx::unzip::Count)
    VX_TEXT_PROP(ReturnString, vx::unzip::ReturnString)
    VX_FLAG_PROP(DiagnosticLogFlag, vx::unzip::DiagnosticLogFlag)
    VX_FLAG_PROP(LFtoCRLFFlag, vx::unzip::LFtoCRLFFlag)
    VX_FLAG_PROP(DecryptFlag, vx::unzip::DecryptFlag)
    VX_TEXT_PROP(DecryptCode, vx::unzip::DecryptCode)
    VX_FLAG_PROP(AuxFlagB, vx::unzip::AuxFlagB)
    VX_LONG_PROP(OptionBits, vx::unzip::OptionBits)
    VX_SHORT_PROP(ReturnValue, vx::unzip::ReturnValue)
    VX_LONG_PROP(ZIIndex, vx::unzip::ZIIndex)
    VX_LONG_PROP(ZIoSize, vx::unzip::ZIoSize)
    VX_LONG_PROP(ZIcSize, vx::unzip::ZIcSize)
    VX_SHORT_PROP(ZIcMethod, vx::unzip::ZIcMethod)
    VX_SHORT_PROP(ZICPathType, vx::unzip::ZICPathType)
    VX_LONG_PROP(ZIcrc32, vx::unzip::ZIcrc32)
    VX_TEXT_PROP(ZIszDateTime, vx::unzip::ZIszDateTime)
    VX_TEXT_PROP(ZIszFileName, vx::unzip::ZIszFileName)
    VX_LONG_PROP(ZIattr, vx::unzip::ZIattr)
    VX_SHORT_PROP(Action, vx::unzip::Action)
    VX_FLAG_PROP(AllowRenamingFlag, vx::unzip::AllowRenamingFlag)
    VX_SHORT_PROP(AuxCode, vx::unzip::AuxCode)
    VX_TEXT_PROP(ExtProgTitle, vx::unzip::ExtProgTitle)
    VX_TEXT_PROP(UnZIPString, vx::unzip::UnZIPString)
    VX_LONG_PROP(StartingOffset, vx::unzip::StartingOffset)
    VX_LONG_PROP(CharsToUnZIP, vx::unzip::CharsToUnZIP)
    VX_FLAG_PROP(AuxFlagC, vx::unzip::AuxFlagC)
};

// Wrapper of the zip control. The option switches without a meaning of their
// own for the programs are reached by DISPID.
class Cvxzipctrl : public vx::ControlWrapper {
public:
    VX_TEXT_PROP(ZIPFile, vx::zip::ZIPFile)
    VX_TEXT_PROP(ItemList, vx::zip::ItemList)
    VX_FLAG_PROP(MajorStatusFlag, vx::zip::MajorStatusFlag)
    VX_FLAG_PROP(MinorStatusFlag, vx::zip::MinorStatusFlag)
    VX_FLAG_PROP(RecurseFlag, vx::zip::RecurseFlag)
    VX_SHORT_PROP(ZipOption8, vx::zip::ZipOption8)
    VX_LONG_PROP(MultiVolumeFlags, vx::zip::MultiVolumeFlags)
    VX_LONG_PROP(OptionBits, vx::zip::OptionBits)
    VX_SHORT_PROP(ReturnValue, vx::zip::ReturnValue)
    VX_SHORT_PROP(Action, vx::zip::Action)
    VX_TEXT_PROP(ExtProgTitle, vx::zip::ExtProgTitle)

    // ZipOption3 ... ZipOption36 (the BOOL switches).
    HRESULT SetZipOption(DISPID id, bool v) { return SetFlag(id, v); }
    bool GetZipOption(DISPID id) const { return Flag(id); }
    // ZipText11 ... ZipText44.
    HRESULT SetZipText(DISPID id, const char* v) { return SetText(id, v); }
    std::string GetZipText(DISPID id) const { return Text(id); }
};

// Wrapper of the status control.
class Cvxstatusctrl : public vx::ControlWrapper {
public:
    VX_LONG_PROP(Percent, vx::status::Percent)
    VX_TEXT_PROP(StatusText, vx::status::StatusText)
};

#undef VX_TEXT_PROP
#undef VX_SHORT_PROP
#undef VX_LONG_PROP
#undef VX_FLAG_PROP

namespace vx {

// A host's handlers of the zip and unzip controls' events. Every argument is
// the control's own by-reference slot: writing it answers the control. To
// replace a string, free the old one and store a new BSTR (ReplaceBstr); the
// control frees what it finds there after the handler returns.
class EventHandlers {
public:
    virtual ~EventHandlers() = default;
    virtual void MajorStatusEvent(BSTR* /*text*/, long* /*percent*/, long* /*cancel*/) {}
    virtual void MinorStatusEvent(BSTR* /*text*/, long* /*percent*/, long* /*cancel*/) {}
    virtual void MessageEvent(long* /*code*/, long* /*n2*/, long* /*n3*/, long* /*n4*/,
                              BSTR* /*text*/, BSTR* /*title*/, long* /*response*/) {}
    virtual void RenameEvent(BSTR* /*itemName*/, long* /*date*/, long* /*time*/,
                             long* /*attributes*/, BSTR* /*originalName*/, long* /*response*/) {}
};

// Decodes one event call (as a sink's IDispatch::Invoke receives it; arguments
// arrive last to first) and calls the matching handler. Unknown events are
// ignored with S_OK; wrong argument counts or types give DISP_E_* codes.
HRESULT DispatchEvent(EventHandlers& handlers, DISPID id, DISPPARAMS* params);

// Frees *slot and stores a new BSTR of the ANSI text; false when out of memory
// (the old string is then kept).
bool ReplaceBstr(BSTR* slot, const char* text);

} // namespace vx
