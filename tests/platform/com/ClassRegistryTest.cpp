#include "platform/com/ClassRegistry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComExports.h"
#include "platform/com/Guid.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "platform/com/VariantApi.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"
#include "tests/platform/com/TestObjects.h"

namespace {

using namespace vellumry::com;
using vellumry::test::Plain;

constexpr CLSID kPlainClass = {0xA1B2C3D4, 0x0102, 0x0304, {0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C}};
constexpr CLSID kRunnableClass = {0xA1B2C3D5, 0x0102, 0x0304, {0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C}};

HRESULT CreatePlain(REFIID riid, void** object)
{
    return MakeObject<Plain>()->QueryInterface(riid, object);
}

// An object whose running state can be refused.
class Runnable final : public ComImplementation<Runnable, IRunnableObject> {
public:
    HRESULT Run(void*) override
    {
        ++runs;
        return refuse ? E_FAIL : S_OK;
    }
    BOOL IsRunning() override { return runs > 0; }
    static inline int runs = 0;
    static inline bool refuse = false;
};

class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterComClass({u"Test.Plain", kPlainClass, &CreatePlain});
        RegisterComClass({u"Test.Plain.1", kPlainClass, &CreatePlain});
        CoInitialize(nullptr);
    }
    void TearDown() override
    {
        CoUninitialize();
        UnregisterComClass(kPlainClass);
        SetDistributedComAvailable(true);
    }
};

TEST_F(ClassRegistryTest, ProgramIdentifiersMatchWithoutLetterCase)
{
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"test.PLAIN", &clsid), S_OK);
    EXPECT_EQ(clsid, kPlainClass);
    ASSERT_EQ(CLSIDFromProgID(u"Test.Plain.1", &clsid), S_OK) << "a class may have two identifiers";
    EXPECT_EQ(CLSIDFromProgID(u"Test.Missing", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
}

TEST_F(ClassRegistryTest, ClassIdentifiersInRegistryForm)
{
    OLECHAR text[39];
    ASSERT_EQ(StringFromGUID2(kPlainClass, text, 39), 39);
    EXPECT_EQ(std::u16string(text), u"{A1B2C3D4-0102-0304-0506-0708090A0B0C}");
    EXPECT_EQ(StringFromGUID2(kPlainClass, text, 38), 0);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromString(u"{a1b2c3d4-0102-0304-0506-0708090a0b0c}", &clsid), S_OK);
    EXPECT_EQ(clsid, kPlainClass);
    for (const char16_t* bad : {u"{A1B2C3D4-0102-0304-0506-0708090A0B0}", u"{A1B2C3D4x0102-0304-0506-0708090A0B0C}",
                                u"{G1B2C3D4-0102-0304-0506-0708090A0B0C}", u"{}"})
        EXPECT_EQ(CLSIDFromString(bad, &clsid), CO_E_CLASSSTRING) << std::u16string_view(bad).size();
    EXPECT_EQ(CLSIDFromString(u"Test.Plain", &clsid), S_OK) << "a program identifier is read too";
}

TEST_F(ClassRegistryTest, CreatesOnlyOnAnInitialisedThreadInAKnownContext)
{
    Ref<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, CLSCTX_ALL, IID_IUnknown, object.PutVoid()), S_OK);
    EXPECT_TRUE(object);
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, object.PutVoid()),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, 0x80000000u, IID_IUnknown, object.PutVoid()), E_INVALIDARG);
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, CLSCTX_ALL, IID_IDispatch, object.PutVoid()), E_NOINTERFACE);
    EXPECT_FALSE(object);
    Ref<IUnknown> outer = MakeObject<Plain>();
    EXPECT_EQ(CoCreateInstance(kPlainClass, outer.Get(), CLSCTX_ALL, IID_IUnknown, object.PutVoid()),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(kRunnableClass, nullptr, CLSCTX_ALL, IID_IUnknown, object.PutVoid()),
              REGDB_E_CLASSNOTREG);

    SetDistributedComAvailable(false);
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, CLSCTX_ALL, IID_IUnknown, object.PutVoid()), E_INVALIDARG);
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.PutVoid()), S_OK);

    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(kPlainClass, nullptr, CLSCTX_ALL, IID_IUnknown, object.PutVoid()), CO_E_NOTINITIALIZED);
    CoInitialize(nullptr);
}

TEST_F(ClassRegistryTest, OleRunAsksARunnableObjectToRun)
{
    Runnable::runs = 0;
    Ref<Runnable> runnable = MakeObject<Runnable>();
    EXPECT_EQ(OleRun(runnable->Identity()), S_OK);
    EXPECT_EQ(Runnable::runs, 1);
    Runnable::refuse = true;
    EXPECT_EQ(OleRun(runnable->Identity()), E_FAIL);
    Runnable::refuse = false;
    Ref<Plain> plain = MakeObject<Plain>();
    EXPECT_EQ(OleRun(plain->Identity()), S_OK) << "an object that cannot run is running";
}

TEST_F(ClassRegistryTest, ExportsAreFoundByNameWithTheirTypes)
{
    RegisterComExports();
    HMODULE ole32 = LoadLibraryA("OLE32.DLL");
    ASSERT_NE(ole32, nullptr);
    FARPROC initialize = GetProcAddress(ole32, "CoInitialize");
    EXPECT_EQ(initialize, reinterpret_cast<FARPROC>(&CoInitialize));
    EXPECT_TRUE(vellumry::modules::SignaturesMatch(vellumry::modules::SignatureOf<HRESULT(LPVOID)>(),
                                                   vellumry::modules::FindExportSignature(initialize)));
    FreeLibrary(ole32);
    HMODULE oleaut32 = LoadLibraryA("oleaut32");
    ASSERT_NE(oleaut32, nullptr);
    EXPECT_EQ(GetProcAddress(oleaut32, "VariantChangeType"), reinterpret_cast<FARPROC>(&VariantChangeType));
    FreeLibrary(oleaut32);
}

}  // namespace
