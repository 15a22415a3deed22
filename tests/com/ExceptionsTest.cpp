// Failure texts: the system's message trimmed, the fallback for unknown codes, a given message.
#include "com/Exceptions.h"
#include "win32/ComText.h"
#include "win32/Text.h"

#include <gtest/gtest.h>

using namespace ComObj;

namespace {

std::string RawSystemText(HRESULT code) { return Win32::Narrowed(Win32::SystemMessage(code)); }

EOleSysError Raised(HRESULT code) {
  try {
    CheckOleResult(code);
  } catch (const EOleSysError& failure) {
    return failure;
  }
  throw std::logic_error("nothing was raised");
}

}  // namespace

TEST(OleResult, SuccessCodesReturn) {
  EXPECT_NO_THROW(CheckOleResult(S_OK));
  EXPECT_NO_THROW(CheckOleResult(S_FALSE));
  EXPECT_NO_THROW(CheckOleResult(0x7FFFFFFF));
}

TEST(OleResult, FailureCarriesTheCodeAndTheTrimmedSystemText) {
  EOleSysError failure = Raised(E_FAIL);
  EXPECT_EQ(failure.FResultCode, E_FAIL);
  EXPECT_EQ(failure.HelpContext(), 0);
  std::string raw = RawSystemText(E_FAIL);
  ASSERT_FALSE(failure.Message().empty());
  // The raw text is the message followed only by blanks, line breaks and full stops.
  ASSERT_EQ(raw.compare(0, failure.Message().size(), failure.Message()), 0) << raw;
  EXPECT_NE(raw.size(), failure.Message().size()) << "the system's text had nothing to trim: " << raw;
  for (char c : raw.substr(failure.Message().size())) EXPECT_TRUE(c == '.' || static_cast<unsigned char>(c) <= 0x20);
  char last = failure.Message().back();
  EXPECT_TRUE(last != '.' && static_cast<unsigned char>(last) > 0x20);
}

TEST(OleResult, UnknownCodeGivesTheEightDigitFallback) {
  EXPECT_EQ(Raised(static_cast<HRESULT>(0xA00F1234)).Message(), "OLE error A00F1234");
  EXPECT_EQ(EOleSysError("", 0x0000ABCD, 0).Message(), "OLE error 0000ABCD");
}

TEST(OleResult, GivenMessageWinsOverTheSystemText) {
  EOleSysError failure("Registry is read-only.", E_FAIL, 7);
  EXPECT_EQ(failure.Message(), "Registry is read-only.");
  EXPECT_STREQ(failure.what(), "Registry is read-only.");
  EXPECT_EQ(failure.FResultCode, E_FAIL);
  EXPECT_EQ(failure.HelpContext(), 7);
}

TEST(OleResult, RaisedFailuresAreCaughtAsTheFramesFailures) {
  EXPECT_THROW(RaiseOleError(E_UNEXPECTED), EOleError);
  EXPECT_THROW(RaiseOleError(E_UNEXPECTED), Exception);
}

// A system text with insertion points must not be filled from an argument list that is not there.
TEST(OleResult, TextWithInsertionPointsIsReadSafely) {
  HRESULT withInsert = S_OK;
  for (DWORD code = 1; code < 16000 && withInsert == S_OK; ++code)
    if (RawSystemText(HRESULT_FROM_WIN32(code)).find("%1") != std::string::npos) withInsert = HRESULT_FROM_WIN32(code);
  if (withInsert == S_OK) GTEST_SKIP() << "the system has no message with an insertion point";
  std::string message = Raised(withInsert).Message();
  EXPECT_NE(message.find("%1"), std::string::npos) << message;
}
