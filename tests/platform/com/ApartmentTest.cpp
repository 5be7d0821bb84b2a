#include "platform/com/Apartment.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using vellumry::com::ApartmentInitializations;

TEST(Apartment, CountsInitialisationsPerThread)
{
    ASSERT_EQ(ApartmentInitializations(), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "a further one is counted too";
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(ApartmentInitializations(), 3);

    std::thread other([] {
        EXPECT_EQ(ApartmentInitializations(), 0) << "another thread starts uninitialised";
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    });
    other.join();

    OleUninitialize();
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(ApartmentInitializations(), 0);
    CoUninitialize();  // one too many does nothing
    EXPECT_EQ(ApartmentInitializations(), 0);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "an uninitialised thread may change kind";
    CoUninitialize();
    int reserved = 0;
    EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
}

}  // namespace
