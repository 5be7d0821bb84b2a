// CreateObject, ClearObject, IsEmptyObject and CopyObject.

#include <gtest/gtest.h>

#include "automation/AutomationCalls.h"
#include "automation/AutomationCommands.h"
#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "runtime/RuntimeHeap.h"
#include "tests/automation/ProbeObjects.h"
#include "tests/support/AutomationSetup.h"

namespace {

using namespace vellumry;
using namespace vellumry::automation::calls;
using test::Probe;

constexpr CLSID kProbeClass = {0x77777777, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kProbeLibraryId = {0x88888888, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

// A probe that refuses to run.
class Stubborn final : public com::ComImplementation<Stubborn, IRunnableObject> {
public:
    HRESULT Run(void*) override { return E_FAIL; }
    BOOL IsRunning() override { return FALSE; }
};
constexpr CLSID kStubbornClass = {0x99999999, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

// Record data that counts its destruction.
class RecordDescription final : public com::ComImplementation<RecordDescription, IRecordInfo> {
public:
    HRESULT RecordDestroy(void* record) override
    {
        ++destroyed;
        runtime::RuntimeFree(record);
        return S_OK;
    }
    static inline int destroyed = 0;
};

HRESULT CreateProbe(REFIID riid, void** object)
{
    return com::MakeObject<Probe>()->QueryInterface(riid, object);
}

HRESULT CreateStubborn(REFIID riid, void** object)
{
    return com::MakeObject<Stubborn>()->QueryInterface(riid, object);
}

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

class ObjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::InstallAutomationForTests();
        com::RegisterComClass({u"Test.Probe", kProbeClass, &CreateProbe});
        com::RegisterComClass({u"Test.Stubborn", kStubbornClass, &CreateStubborn});
        CoInitialize(nullptr);
    }
    void TearDown() override
    {
        CoUninitialize();
        com::UnregisterComClass(kProbeClass);
        com::UnregisterComClass(kStubbornClass);
        com::SetDistributedComAvailable(true);
        EXPECT_EQ(Probe::alive, 0);
    }
};

TEST_F(ObjectCommandsTest, CreatesByProgramIdentifierOrClassIdentifier)
{
    OwnedObject holder = NewObject();
    EXPECT_TRUE(IsEmptyObject(holder.get()));
    ASSERT_TRUE(CreateObject(holder.get(), "test.probe"));
    EXPECT_FALSE(IsEmptyObject(holder.get()));
    IUnknown* first = holder->object;
    EXPECT_EQ(References(first), 1u);

    ASSERT_TRUE(CreateObject(holder.get(), "{77777777-0001-0002-0102-030405060708}"));
    EXPECT_NE(holder->object, first) << "the old object was released, a new one taken";
    EXPECT_EQ(Probe::alive, 1);

    IUnknown* kept = holder->object;
    EXPECT_FALSE(CreateObject(holder.get(), "Test.Nothing"));
    EXPECT_EQ(holder->object, kept) << "a failed creation keeps the old object";
    EXPECT_FALSE(CreateObject(holder.get(), "{not a class}"));
    EXPECT_FALSE(CreateObject(holder.get(), "Test.Stubborn")) << "an object that will not run";
    EXPECT_EQ(holder->object, kept);
}

TEST_F(ObjectCommandsTest, RetriesWithoutTheRemoteServerWhenThatIsRefused)
{
    com::SetDistributedComAvailable(false);
    OwnedObject holder = NewObject();
    EXPECT_TRUE(CreateObject(holder.get(), "Test.Probe"));
}

TEST_F(ObjectCommandsTest, CreatesThroughATypeLibraryAndRegistersIt)
{
    static const com::ClassDescription probeClass{u"ProbeThing", kProbeClass, {&Probe::Table().Description()}};
    static const com::LibraryDescription library{
        u"ProbeLibrary", kProbeLibraryId, 1, 0, {&Probe::Table().Description()}, {&probeClass}};
    com::RegisterBuiltinTypeLibrary(u"probe.tlb", 1, library);
    com::UnregisterComClass(kProbeClass);
    com::RegisterComClass({u"", kProbeClass, &CreateProbe});  // no program identifier

    OwnedObject holder = NewObject();
    EXPECT_TRUE(CreateObject(holder.get(), "ProbeThing", "C:\\Probe\\probe.tlb"));
    EXPECT_FALSE(IsEmptyObject(holder.get()));
    BSTR path = nullptr;
    ASSERT_EQ(QueryPathOfRegTypeLib(kProbeLibraryId, 1, 0, 0, &path), S_OK);
    EXPECT_EQ(com::BstrView(path), u"C:\\Probe\\probe.tlb");
    SysFreeString(path);

    // "Name" is a member name found once too, but it names no class; "Count"
    // and a library that does not load fall back to the program identifier.
    OwnedObject other = NewObject();
    EXPECT_FALSE(CreateObject(other.get(), "Name", "probe.tlb"));
    EXPECT_FALSE(CreateObject(other.get(), "ProbeThing", "missing.tlb"));
    EXPECT_TRUE(IsEmptyObject(other.get()));
    com::UnregisterBuiltinTypeLibrary(u"probe.tlb", 1);
}

TEST_F(ObjectCommandsTest, CopyRaisesTheCountAndClearReleases)
{
    OwnedObject holder = NewObject();
    ASSERT_TRUE(CreateObject(holder.get(), "Test.Probe"));
    OwnedObject copy = NewObject();
    CopyObject(copy.get(), holder.get());
    EXPECT_EQ(copy->object, holder->object);
    EXPECT_EQ(References(holder->object), 2u);
    ClearObject(holder.get());
    EXPECT_TRUE(IsEmptyObject(holder.get()));
    EXPECT_EQ(References(copy->object), 1u);
    EXPECT_EQ(ReadNumberProperty(copy.get(), "Count"), 7.0);
    ClearObject(copy.get());
    EXPECT_EQ(Probe::alive, 0);
}

TEST_F(ObjectCommandsTest, ClearDestroysRecordDataFirst)
{
    RecordDescription::destroyed = 0;
    OwnedObject holder = NewObject();
    holder->object = com::MakeObject<RecordDescription>().Detach()->Identity();
    holder->recordData = runtime::RuntimeAlloc(16);
    ClearObject(holder.get());
    EXPECT_EQ(RecordDescription::destroyed, 1);
    EXPECT_EQ(holder->object, nullptr);
    EXPECT_EQ(holder->recordData, nullptr);

    // Record data without a description is a plain heap block.
    holder->recordData = runtime::RuntimeAlloc(16);
    ClearObject(holder.get());
    EXPECT_EQ(holder->recordData, nullptr);
}

}  // namespace
