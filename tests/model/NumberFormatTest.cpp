#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "model/NumberFormat.h"
#include "model/Status.h"

namespace tavrin {
namespace {

double Parsed(const std::string& field) {
  double v = -777.0;
  EXPECT_EQ(ParseNumber(field, v), StatusCode::Done) << field;
  return v;
}

bool Rejected(const std::string& field) {
  double v = -777.0;
  return ParseNumber(field, v) == StatusCode::BadNumber && v == -777.0;
}

TEST(ParseNumber, UnsignedForms) {
  EXPECT_EQ(Parsed("12.25"), 12.25);
  EXPECT_EQ(Parsed(".5"), 0.5);
  EXPECT_EQ(Parsed("40;3"), 40);
  EXPECT_EQ(Parsed("7x"), 7);
  EXPECT_EQ(Parsed("7."), 7);
  EXPECT_EQ(Parsed("1 2"), 12);  // blanks are skipped
  EXPECT_EQ(Parsed("1.2.3"), 1.2);
  EXPECT_TRUE(Rejected("n"));
  EXPECT_TRUE(Rejected(""));
  EXPECT_TRUE(Rejected(";5"));
  EXPECT_TRUE(Rejected("."));
  EXPECT_TRUE(Rejected("-"));
  EXPECT_TRUE(Rejected("x7"));
}

TEST(ParseNumber, SignsAndExponents) {
  EXPECT_EQ(Parsed("-10"), -10);
  EXPECT_EQ(Parsed("+2.5"), 2.5);
  EXPECT_EQ(Parsed("-.5"), -0.5);
  EXPECT_EQ(Parsed("2.1e+06"), 2100000);
  EXPECT_EQ(Parsed("1e-05"), 1e-05);
  EXPECT_EQ(Parsed("1.5E3"), 1500);
  EXPECT_EQ(Parsed("3e"), 3);  // no exponent digits: the number ends before the e
  EXPECT_EQ(Parsed("3e+"), 3);
  EXPECT_EQ(Parsed("3e+x"), 3);
  EXPECT_EQ(Parsed("3e2;1"), 300);
  EXPECT_TRUE(std::signbit(Parsed("-0")));
  EXPECT_TRUE(Rejected("e5"));
  EXPECT_TRUE(Rejected("--5"));
}

TEST(ParseNumber, RangeAndLength) {
  EXPECT_EQ(Parsed("3000000000"), 3e9);  // no 32-bit overflow
  EXPECT_TRUE(Rejected("1e400"));
  EXPECT_TRUE(Rejected("-1e400"));
  EXPECT_TRUE(Rejected(std::string(400, '9')));
  EXPECT_TRUE(Rejected("0.01e311"));
  // Too small for a double is still a number: it reads as zero, as its digits sum to.
  EXPECT_EQ(Parsed("1e-400"), 0.0);
  EXPECT_TRUE(std::signbit(Parsed("-1e-400")));
  EXPECT_EQ(Parsed("0." + std::string(400, '0') + "7"), 0.0);
  EXPECT_EQ(Parsed("1000e-326"), 1e-323);  // subnormal, not underflow
  EXPECT_EQ(Parsed("0." + std::string(300, '0') + "1e300"), 1e-1);
  EXPECT_EQ(Parsed(std::string(30, '0') + "123456789.5"), 123456789.5);  // no length limit
}

TEST(ParseNumber, CorrectlyRounded) {
  // Summing fraction digits one by one misses the last bit for many of these.
  EXPECT_EQ(Parsed("0.1"), 0.1);
  EXPECT_EQ(Parsed("0.3"), 0.3);
  EXPECT_EQ(Parsed("1234.5678"), 1234.5678);
  EXPECT_EQ(Parsed("0.30000000000000004"), 0.1 + 0.2);
  EXPECT_EQ(Parsed("2.2250738585072014e-308"), std::numeric_limits<double>::min());
}

TEST(FormatNumber, KeepsDefaultStreamFormWhenExact) {
  EXPECT_EQ(FormatNumber(210000.0), "210000");
  EXPECT_EQ(FormatNumber(0.25), "0.25");
  EXPECT_EQ(FormatNumber(10.0), "10");
  EXPECT_EQ(FormatNumber(2100000.0), "2.1e+06");
  EXPECT_EQ(FormatNumber(0.00001), "1e-05");
  EXPECT_EQ(FormatNumber(-10.0), "-10");
  EXPECT_EQ(FormatNumber(0.0), "0");
  EXPECT_EQ(FormatNumber(12.5), "12.5");
}

TEST(FormatNumber, WidensOnlyAsFarAsNeeded) {
  EXPECT_EQ(FormatNumber(1234.5678), "1234.5678");
  EXPECT_EQ(FormatNumber(1234567.0), "1234567");
  EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(FormatNumber(278.033), "278.033");
  EXPECT_EQ(FormatNumber(1.0 / 3.0), "0.3333333333333333");
}

TEST(FormatNumber, EveryDoubleReadsBackExactly) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::ldexp(mantissa(rng), exponent(rng) * 3);
    if (!std::isfinite(v)) continue;
    double back = 0.0;
    const std::string text = FormatNumber(v);
    ASSERT_EQ(ParseNumber(text, back), StatusCode::Done) << text;
    ASSERT_EQ(back, v) << text;
    ASSERT_EQ(ParseNumber(ShortestNumber(v), back), StatusCode::Done);
    ASSERT_EQ(back, v) << ShortestNumber(v);
  }
}

TEST(ShortestNumber, PlainOrExponentWhicheverIsShorter) {
  EXPECT_EQ(ShortestNumber(2100000.0), "2100000");
  EXPECT_EQ(ShortestNumber(-2.5), "-2.5");
  EXPECT_EQ(ShortestNumber(1e-05), "1e-05");
  EXPECT_EQ(ShortestNumber(0.3), "0.3");
  EXPECT_EQ(ShortestNumber(0.0), "0");
}

}  // namespace
}  // namespace tavrin
