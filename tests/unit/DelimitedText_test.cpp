#include "import/DelimitedText.h"

#include <gtest/gtest.h>

TEST(DelimitedText, SplitsAtSeparatorsOutsideQuotes) {
  const struct {
    const char* name;
    QString text;
    QStringList fields;
  } cases[] = {
      {"empty line", "", {}},
      {"one field", "a", {"a"}},
      {"separator at the end", "a;", {"a", ""}},
      {"only separators", ";;", {"", "", ""}},
      {"blanks are text", " a ; b ", {" a ", " b "}},
      {"separator inside quotes", "\"a;b\";c", {"a;b", "c"}},
      {"doubled quote", "\"a\"\"b\"", {"a\"b"}},
      {"only a doubled quote", "\"\"\"\"", {"\""}},
      {"doubled quote before the closing one", "\"a\"\"\";b", {"a\"", "b"}},
      {"empty quoted field", "\"\";x", {"", "x"}},
      {"quote inside an unquoted field", "a\"b;c", {"a\"b", "c"}},
      {"quote after a blank is text", " \"a;b\"", {" \"a", "b\""}},
      {"text after the closing quote", "\"ab\"cd;e", {"abcd", "e"}},
      {"quote after the closing quote", "\"ab\"c\"d;e", {"abc\"d", "e"}},
      {"unterminated quote", "x;\"a;b\"\"c", {"x", "a;b\"c"}},
      {"unterminated quote at the end", "x;\"", {"x", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitDelimitedText(c.text), c.fields) << c.name;
}
