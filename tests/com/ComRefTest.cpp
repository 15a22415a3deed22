// The platform owners of COM references and storage media, counted on a data object that counts its references.
#include "tools/DropFilesData.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tools::TDropFilesData;
using Strings = std::vector<std::string>;

FORMATETC DropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

TEST(ComRefTest, QueryAndPutTakeAndGiveBackExactlyTheirReferences) {
  TDropFilesData data(Strings{"C:\\a.txt"});
  {
    Win32::TComRef<IDataObject> ref;
    ASSERT_EQ(data.QueryInterface(IID_PPV_ARGS(ref.put())), S_OK);
    Win32::TComRef<IUnknown> unknown = ref.query<IUnknown>();
    EXPECT_EQ(unknown.get(), static_cast<IUnknown*>(&data));
    EXPECT_EQ(data.References(), 3u);

    Win32::TComRef<IStream> stream;
    EXPECT_EQ(ref.query(stream), E_NOINTERFACE);
    EXPECT_FALSE(stream);
    EXPECT_FALSE(ref.query<IStream>());
    // put hands out the address only after releasing what it held.
    ASSERT_EQ(data.QueryInterface(IID_PPV_ARGS(ref.put())), S_OK);
    EXPECT_EQ(data.References(), 3u);
    EXPECT_EQ(ref->QueryGetData(nullptr), DV_E_FORMATETC);
  }
  EXPECT_EQ(data.References(), 1u);
  Win32::TComRef<IUnknown> empty;
  Win32::TComRef<IDataObject> none;
  EXPECT_EQ(empty.query(none), E_POINTER);
}

TEST(ComRefTest, CopiesAddTheirOwnReferenceWhileAttachAndDetachPassOne) {
  TDropFilesData data(Strings{"C:\\a.txt"});
  {
    Win32::TComRef<IDataObject> first = Win32::Referenced<IDataObject>(&data);
    Win32::TComRef<IDataObject> second = first;
    EXPECT_EQ(data.References(), 3u);
    Win32::TComRef<IDataObject>& itself = second;
    second = itself;
    second = first;
    EXPECT_EQ(data.References(), 3u);

    IDataObject* out = nullptr;
    ASSERT_EQ(first.copy_to(&out), S_OK);
    EXPECT_EQ(out, &data);
    EXPECT_EQ(data.References(), 4u);
    Win32::TComRef<IDataObject> adopted;
    adopted.attach(out);
    EXPECT_EQ(data.References(), 4u);
    IDataObject* detached = adopted.detach();
    EXPECT_FALSE(adopted);
    detached->Release();

    void* unknown = nullptr;
    ASSERT_EQ(first.copy_to(IID_IUnknown, &unknown), S_OK);
    static_cast<IUnknown*>(unknown)->Release();
    EXPECT_EQ(first.copy_to(IID_IStream, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(first.copy_to(nullptr), E_POINTER);
    EXPECT_EQ(data.References(), 3u);
  }
  EXPECT_EQ(data.References(), 1u);
  Win32::TComRef<IDataObject> empty, copy = empty;
  IDataObject* none = &data;
  EXPECT_EQ(copy.copy_to(&none), S_OK);
  EXPECT_EQ(none, nullptr);
}

TEST(ComRefTest, StorageMediumOfASharedBlockIsReleasedThroughItsObjectOnce) {
  TDropFilesData data(std::vector<std::wstring>{L"C:\\a.txt"}, Tools::THandOut::hoShared);
  FORMATETC format = DropFormat();
  HGLOBAL first;
  {
    Win32::TStgMedium medium;
    ASSERT_EQ(data.GetData(&format, medium.put()), S_OK);
    first = medium.get().hGlobal;
    EXPECT_EQ(data.References(), 2u);
    ASSERT_EQ(data.GetData(&format, medium.put()), S_OK);  // the first medium is released before
    EXPECT_EQ(data.References(), 2u);
  }
  EXPECT_EQ(data.References(), 1u);
  Win32::TStgMedium again;
  ASSERT_EQ(data.GetData(&format, again.put()), S_OK);
  EXPECT_EQ(again.get().hGlobal, first) << "the shared block was freed with a medium";
  EXPECT_NE(::GlobalSize(first), 0u);
}

TEST(ComRefTest, CopiedBlocksAreTheCallersToFree) {
  TDropFilesData data(Strings{"C:\\a.txt", "C:\\b.txt"});
  FORMATETC format = DropFormat();
  Win32::TStgMedium one, two;
  ASSERT_EQ(data.GetData(&format, one.put()), S_OK);
  ASSERT_EQ(data.GetData(&format, two.put()), S_OK);
  EXPECT_NE(one.get().hGlobal, two.get().hGlobal);
  EXPECT_EQ(one.get().pUnkForRelease, nullptr);
  EXPECT_EQ(::GlobalSize(one.get().hGlobal), ::GlobalSize(two.get().hGlobal));
  EXPECT_EQ(data.References(), 1u);
  EXPECT_EQ(data.GetDataCalls, 2);
}
