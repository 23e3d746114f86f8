#include <gtest/gtest.h>

#include "core/App.h"

TEST(StdTables, TheNineTypesAreSizedAndStandard) {
  CApp app;
  CStdTypeMan& types = *app.TypeMan;
  ASSERT_EQ(types.Count().Value, 9);
  struct Case {
    const char* name;
    std::int32_t size;
  } cases[] = {{"void", 0},  {"char", 1},   {"short", 2}, {"long", 4}, {"int", 4},
               {"uchar", 1}, {"ushort", 2}, {"ulong", 4}, {"uint", 4}};
  for (int i = 0; i < 9; ++i) {
    const Case& c = cases[i];
    CTypeInfo* t = types.FindStdType(c.name);
    ASSERT_TRUE(t) << c.name;
    EXPECT_EQ(t, types.Get(i)) << c.name;  // in table order
    EXPECT_EQ(t->ByteSize.Value, c.size) << c.name;
    EXPECT_TRUE(t->Sized);
    EXPECT_TRUE(t->Standard);
    EXPECT_EQ(t->CalcSize().Value, c.size) << c.name;
  }
  EXPECT_EQ(types.FindStdType("uint8"), nullptr);  // the operators' names are not types
  EXPECT_EQ(types.FindStdType("Int"), nullptr);
}

TEST(StdTables, TheOperatorsWithSignaturesAndTemplates) {
  CApp app;
  CStdOperMan& opers = app.OperMan;
  ASSERT_EQ(opers.Count().Value, 23);
  struct Case {
    int index;
    const char* signature;
    const char* result;
    std::int32_t priority;
    const char* templ;
    std::int32_t operands;
  } cases[] = {
      {0, "+(uint8, uint8)", "uint8", 20, "add al, cl", 2},
      {2, "+(uint32, uint32)", "uint32", 20, "add ax, cx \r\n adc dx, bx", 2},
      {7, "*(int16, int16)", "int16", 10, "imul cx", 2},
      {13, "=(int16, int16)", "int16", 100, "mov Op, ax", 2},
      {16, ".()", "", 5, "", 0},
      {19, "==()", "", 90, "", 0},
      {22, "delete()", "", 90, "", 0},
  };
  for (const Case& c : cases) {
    const CStdOperMan::COper* op = opers.Get(c.index);
    EXPECT_EQ(op->Signature, c.signature) << c.index;
    EXPECT_EQ(op->ResultType, c.result) << c.index;
    EXPECT_EQ(op->Priority, c.priority) << c.index;
    EXPECT_EQ(op->Template, c.templ) << c.index;
    EXPECT_EQ(op->OperandTypes->Count().Value, c.operands) << c.index;
    EXPECT_EQ(op->OperFlag.Value, 0);
  }
}
