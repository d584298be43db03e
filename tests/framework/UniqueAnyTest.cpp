// The owning holder closes each handle exactly once, whatever way it leaves the holder, and the
// aliases close real handles with the right function.
#include <gtest/gtest.h>
#include <vector>
#include "CUniqueAny.h"
#include "TestSupport.h"

namespace {

std::vector<int>& Closed() {
    static std::vector<int> closed;
    return closed;
}
void CloseFake(int handle) {
    Closed().push_back(handle);
}
int NoFake() {
    return -1;
}
using FakeHolder = CUniqueAny<int, &CloseFake, &NoFake>;

TEST(UniqueAny, EachHandleIsClosedOnceWhicheverWayItLeaves) {
    Closed().clear();
    {
        FakeHolder empty;
        EXPECT_FALSE(empty);
        FakeHolder zero(0);  // 0 is a real handle here: only -1 means none
        EXPECT_TRUE(zero);
    }
    EXPECT_EQ(Closed(), std::vector<int>({0}));

    Closed().clear();
    {
        FakeHolder a(1);
        a.reset(2);                  // 1 closed
        FakeHolder b(std::move(a));  // moved, not closed
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 2);
        FakeHolder c(3);
        c = std::move(b);            // 3 closed, 2 moves over
        int kept = c.release();      // 2 leaves without being closed
        EXPECT_EQ(kept, 2);
        FakeHolder d(4);
        *d.put() = 5;                // 4 closed, 5 written in
        EXPECT_EQ(d.get(), 5);
        FakeHolder e(6);
        d.swap(e);
    }  // e (holding 5) goes first, then d (holding 6)
    EXPECT_EQ(Closed(), std::vector<int>({1, 3, 4, 5, 6}));
}

TEST(UniqueAny, KernelMenuAndFindHandlesAreClosedByTheirOwnFunctions) {
    HANDLE event = nullptr;
    {
        CUniqueHandle held(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(held);
        event = held.get();
        DWORD flags = 0;
        EXPECT_TRUE(::GetHandleInformation(event, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags)) << "the event handle is still open";

    HMENU menu = nullptr;
    {
        CUniqueMenu held(::CreatePopupMenu());
        menu = held.get();
        EXPECT_TRUE(::IsMenu(menu));
    }
    EXPECT_FALSE(::IsMenu(menu));

    testing_support::TempFolder folder;
    {
        WIN32_FIND_DATAW data{};
        CUniqueFindHandle missing(::FindFirstFileW((folder.Path() + L"\\none*.xyz").c_str(), &data));
        EXPECT_FALSE(missing) << "INVALID_HANDLE_VALUE means no handle";
        CUniqueFindHandle found(::FindFirstFileW((folder.Path() + L"\\*").c_str(), &data));
        ASSERT_TRUE(found);
        EXPECT_TRUE(::FindNextFileW(found.get(), &data));  // "." then ".."
    }
}

// An interface whose references are counted, to see the holder release exactly once.
class CountedObject : public IUnknown {
public:
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(UniqueAny, InterfacePointersAreReleasedOnce) {
    CountedObject object;
    {
        CUniqueComPtr<IUnknown> first(&object);
        CUniqueComPtr<IUnknown> second;
        ASSERT_EQ(first->QueryInterface(IID_IUnknown, second.put_void()), S_OK);
        EXPECT_EQ(object.references, 2u);
        CUniqueComPtr<IUnknown> none;
        EXPECT_EQ(first->QueryInterface(IID_IClassFactory, none.put_void()), E_NOINTERFACE);
        EXPECT_FALSE(none);
        CUniqueComPtr<IUnknown> moved(std::move(second));
        EXPECT_EQ(object.references, 2u);
    }
    EXPECT_EQ(object.references, 0u);
}

}  // namespace
