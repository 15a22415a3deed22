// Status-bar help texts, and the caller's buffer never overrun.
#include "shell/HelpText.h"
#include "shell/Selection.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

using namespace ContextM;

class HelpTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetSelectedFiles(MakeSelection(TPathList{"C:\\Data\\photo.bmp", "C:\\Data\\other.jpg"}));
    std::memset(Buffer, '#', sizeof Buffer);
  }
  void TearDown() override { SetSelectedFiles(nullptr); }

  std::string Text(UINT_PTR offset) {
    EXPECT_EQ(GetCommandString(offset, GCS_HELPTEXTA, Buffer, 400), S_OK) << offset;
    return Buffer;
  }
  bool Untouched(std::size_t from = 0) const {
    return std::all_of(Buffer + from, Buffer + sizeof Buffer, [](char c) { return c == '#'; });
  }

  char Buffer[512];
};

TEST_F(HelpTextTest, EveryItemHasItsText) {
  EXPECT_EQ(Text(0), "Hide the selected file(s) in a carrier file");
  EXPECT_EQ(Text(3), "Encrypt the selected file(s)");
  EXPECT_EQ(Text(4), "Decrypt the selected file(s)");
  EXPECT_EQ(Text(6), "Shred the selected file(s)");
  EXPECT_EQ(Text(8), "Unhide all files from the selected carrier in the current folder");
  EXPECT_EQ(Text(9), "Encrypt the selected file(s) and send via e-mail");
}

TEST_F(HelpTextTest, CarrierTextsNameTheFirstPathOnly) {
  EXPECT_EQ(Text(7), "Hide data in selected carrier: C:\\Data\\photo.bmp");
  EXPECT_EQ(Text(1), "Unhide data from the selected carrier file: C:\\Data\\photo.bmp");
}

TEST_F(HelpTextTest, WithoutASelectionTheCarrierTextsEndAfterTheirFixedPart) {
  SetSelectedFiles(nullptr);
  EXPECT_EQ(Text(7), "Hide data in selected carrier: ");
  SetSelectedFiles(MakeSelection({}));
  EXPECT_EQ(Text(1), "Unhide data from the selected carrier file: ");
}

TEST_F(HelpTextTest, SeparatorsAndUnknownOffsetsAreRefusedAndWriteNothing) {
  for (UINT_PTR offset : {UINT_PTR{2}, UINT_PTR{5}, UINT_PTR{10}, UINT_PTR{0xFFFFFFFF}, ~UINT_PTR{0}}) {
    EXPECT_EQ(GetCommandString(offset, GCS_HELPTEXTA, Buffer, 400), E_INVALIDARG) << offset;
    EXPECT_TRUE(Untouched());
  }
}

TEST_F(HelpTextTest, OtherRequestTypesGetSOkAndAnUntouchedBuffer) {
  for (UINT type : {GCS_VERBA, GCS_VERBW, GCS_VALIDATEA, GCS_VALIDATEW, GCS_HELPTEXTW, GCS_UNICODE}) {
    for (UINT_PTR offset : {UINT_PTR{0}, UINT_PTR{2}, UINT_PTR{77}}) {
      EXPECT_EQ(GetCommandString(offset, type, Buffer, 400), S_OK) << type << " " << offset;
      EXPECT_TRUE(Untouched());
    }
  }
}

TEST_F(HelpTextTest, TextIsCutToTheBufferWithItsNul) {
  EXPECT_EQ(GetCommandString(0, GCS_HELPTEXTA, Buffer, 5), S_OK);
  EXPECT_STREQ(Buffer, "Hide");
  EXPECT_TRUE(Untouched(5));
  std::memset(Buffer, '#', sizeof Buffer);
  EXPECT_EQ(GetCommandString(7, GCS_HELPTEXTA, Buffer, 1), S_OK);
  EXPECT_STREQ(Buffer, "");
  EXPECT_TRUE(Untouched(1));
}

TEST_F(HelpTextTest, LongPathIsCutAtTheBuffer) {
  std::string path = "C:\\" + std::string(400, 'p');
  SetSelectedFiles(MakeSelection(TPathList{path}));
  EXPECT_EQ(GetCommandString(1, GCS_HELPTEXTA, Buffer, 300), S_OK);
  EXPECT_EQ(std::strlen(Buffer), 299u);
  EXPECT_TRUE(Untouched(300));
}

TEST_F(HelpTextTest, NoBufferOrNoRoomIsRefused) {
  EXPECT_EQ(GetCommandString(0, GCS_HELPTEXTA, nullptr, 400), E_POINTER);
  EXPECT_EQ(GetCommandString(0, GCS_HELPTEXTA, Buffer, 0), E_INVALIDARG);
  EXPECT_TRUE(Untouched());
}

TEST_F(HelpTextTest, SelectionPassedInIsTheOneNamed) {
  TSelection other = MakeSelection(TPathList{"D:\\x\\given.twk"});
  EXPECT_EQ(HelpTextOf(7, other.get()), "Hide data in selected carrier: D:\\x\\given.twk");
  EXPECT_EQ(HelpTextOf(1, nullptr), "Unhide data from the selected carrier file: ");
  EXPECT_EQ(HelpTextOf(5, other.get()), std::nullopt);
  EXPECT_EQ(Text(7), "Hide data in selected carrier: C:\\Data\\photo.bmp") << "the module-wide one is untouched";
}
