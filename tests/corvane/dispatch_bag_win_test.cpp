// The job settings reach a control's IDispatch as typed property puts.
#include "corvane/dispatch_property_bag_win.h"
#include "corvane/job_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// Records every Invoke as a control would see it and answers gets from what was put.
class RecordingDispatch : public IDispatch {
public:
    struct Call {
        DISPID id;
        WORD flags;
        VARTYPE type;
        LONG number;
        std::string text;
    };

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (flags & DISPATCH_PROPERTYPUT) {
            if (!params || params->cArgs != 1 || params->cNamedArgs != 1 ||
                params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_BADPARAMCOUNT;
            const VARIANT& v = params->rgvarg[0];
            Call call{id, flags, V_VT(&v), 0, ""};
            switch (V_VT(&v)) {
            case VT_I2: call.number = V_I2(&v); break;
            case VT_I4: call.number = V_I4(&v); break;
            case VT_BOOL: call.number = V_BOOL(&v); break;
            case VT_BSTR: call.text = BstrToAnsi(V_BSTR(&v)); break;
            default: return DISP_E_TYPEMISMATCH;
            }
            calls.push_back(call);
            numbers[id] = call.number;
            return S_OK;
        }
        if ((flags & DISPATCH_PROPERTYGET) && result) {
            VariantInit(result);
            V_VT(result) = VT_I4;
            V_I4(result) = numbers[id];
            gets.push_back(id);
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    std::vector<Call> calls;
    std::vector<DISPID> gets;
    std::map<DISPID, LONG> numbers;
};

VARTYPE ExpectedType(vx::PropType type)
{
    switch (type) {
    case vx::PropType::Bstr: return VT_BSTR;
    case vx::PropType::I2: return VT_I2;
    case vx::PropType::I4: return VT_I4;
    default: return VT_BOOL;
    }
}

TEST(DispatchPropertyBag, ZipJobPutsEachPropertyWithItsAutomationType)
{
    RecordingDispatch control;
    DispatchPropertyBag bag(&control);
    corvane::ZipJobSettings settings;
    settings.archivePath = "c:\\out\\x.zip";
    settings.itemList = "c:\\*.txt";
    settings.externalProgress = true;
    settings.multiVolume = true;
    settings.cdFirst = true;
    corvane::ApplyZipJobSettings(bag, settings);

    ASSERT_EQ(control.calls.size(), 48u);
    for (const auto& call : control.calls) {
        vx::PropType type;
        ASSERT_TRUE(vx::ZipPropertyType(call.id, type)) << call.id;
        EXPECT_EQ(call.type, ExpectedType(type)) << "DISPID " << call.id;
        if (call.type == VT_BOOL) {
            EXPECT_TRUE(call.number == VARIANT_TRUE || call.number == VARIANT_FALSE);
        }
    }
    EXPECT_EQ(control.numbers[vx::zip::OptionBits], 0x0E);
    EXPECT_EQ(control.numbers[vx::zip::MultiVolumeFlags], 0x9000);
    EXPECT_EQ(control.numbers[vx::zip::MajorStatusFlag], VARIANT_FALSE);
    EXPECT_EQ(control.numbers[vx::zip::ZipOption3], VARIANT_TRUE);
    EXPECT_EQ(control.calls.front().text, "c:\\out\\x.zip");
    EXPECT_EQ(control.gets, (std::vector<DISPID>{vx::zip::MultiVolumeFlags, vx::zip::OptionBits}));
}

TEST(DispatchPropertyBag, UnzipJobPutsEachPropertyWithItsAutomationType)
{
    RecordingDispatch control;
    DispatchPropertyBag bag(&control);
    corvane::UnzipJobSettings settings;
    settings.archivePath = "c:\\in.zip";
    settings.fileSpec = "*.*";
    settings.destination = "c:\\dest";
    settings.externalProgress = true;
    corvane::ApplyUnzipJobSettings(bag, settings);

    ASSERT_EQ(control.calls.size(), 42u);
    for (const auto& call : control.calls) {
        vx::PropType type;
        ASSERT_TRUE(vx::UnzipPropertyType(call.id, type)) << call.id;
        EXPECT_EQ(call.type, ExpectedType(type)) << "DISPID " << call.id;
    }
    EXPECT_EQ(control.numbers[vx::unzip::OptionBits], 0x0F);
    EXPECT_EQ(control.numbers[vx::unzip::Index], -1);
    EXPECT_EQ(control.gets, std::vector<DISPID>{vx::unzip::OptionBits});
}

} // namespace
