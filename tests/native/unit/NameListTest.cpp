// The one-buffer name list: names read back whole and in order through every growth of the buffer.
#include "shell/NameList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ContextM;

namespace {

std::vector<std::string> Listed(const TNameList<char>& list) { return {list.begin(), list.end()}; }

}  // namespace

TEST(NameListTest, NamesWrittenInPlaceOrAppendedSurviveEveryGrowth) {
  TNameList<char> list;
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < 300; ++i) {
    std::string name(i % 37, static_cast<char>('a' + i % 26));  // empty names included
    if (i % 2) {
      list.Append(name);
    } else {
      // Room asked for more than is written, as a conversion's worst case is.
      char* room = list.Room(3 * name.size());
      name.copy(room, name.size());
      list.Commit(name.size());
    }
    expected.push_back(name);
  }
  EXPECT_EQ(list.size(), expected.size());
  EXPECT_EQ(Listed(list), expected);
  EXPECT_EQ(list.front(), expected.front());
}

TEST(NameListTest, ReservationAndShrinkingKeepTheNames) {
  TNameList<wchar_t> list;
  list.Reserve(10000);
  list.Append(L"C:\\one");
  list.Append(L"C:\\two");
  list.ShrinkWhenSparse();
  EXPECT_EQ(std::vector<std::wstring>(list.begin(), list.end()), (std::vector<std::wstring>{L"C:\\one", L"C:\\two"}));
  EXPECT_EQ(std::wstring(list.begin().c_str()), L"C:\\one") << "each name ends with its NUL";
}

TEST(NameListTest, MovedFromListIsEmpty) {
  TNameList<char> list;
  list.Append("C:\\a");
  TNameList<char> moved = std::move(list);
  EXPECT_TRUE(list.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is what is checked
  EXPECT_EQ(list.begin(), list.end());
  EXPECT_EQ(Listed(moved), std::vector<std::string>{"C:\\a"});
  EXPECT_TRUE(TNameList<char>().empty());
  EXPECT_EQ(TNameList<char>().begin(), TNameList<char>().end());
}
