#include <gtest/gtest.h>

#include <vector>

#include "core/App.h"
#include "storage/Stream.h"

namespace {

std::vector<int> Bytes(const CMemory& m) {
  const auto size = const_cast<CMemory&>(m).GetSize().Value;
  return std::vector<int>(m.Data(), m.Data() + size);
}

using B = std::vector<int>;

}  // namespace

TEST(CStream, EncodingsAreExactBytes) {
  struct Case {
    const char* what;
    void (*write)(CStream&);
    B bytes;
  } cases[] = {
      {"int 1", [](CStream& s) { s.WriteInt(1); }, {0x01, 0, 0, 0}},
      {"int -1", [](CStream& s) { s.WriteInt(-1); }, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"float 1.0", [](CStream& s) { s.WriteFloat(1.0); },
       {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {"float -2.0", [](CStream& s) { s.WriteFloat(-2.0); },
       {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
      {"empty string", [](CStream& s) { s.WriteStr(""); }, {0, 0, 0, 0}},
      {"string", [](CStream& s) { s.WriteStr("Qx"); }, {2, 0, 0, 0, 'Q', 'x'}},
      {"bool true", [](CStream& s) { s.WriteBool(true); }, {0x01}},
      {"short -2", [](CStream& s) { s.WriteShort(-2); }, {0xFE, 0xFF}},
      {"ushort 5", [](CStream& s) { s.WriteUShort(5); }, {0x05, 0x00}},
      {"int64", [](CStream& s) { s.WriteInt64(0x0102030405060708LL); },
       {8, 7, 6, 5, 4, 3, 2, 1}},
      {"extended 1.0", [](CStream& s) { s.WriteExtended(1.0L); },
       {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
  };
  for (const Case& c : cases) {
    CMemory m;
    c.write(m);
    EXPECT_EQ(Bytes(m), c.bytes) << c.what;
  }
}

TEST(CStream, EverythingWrittenReadsBack) {
  CMemory m;
  m.WriteInt(-123456);
  m.WriteFloat(CFloat(0.1L));
  m.WriteStr("Привет"_cp);
  m.WriteBool(true);
  m.WriteChar(-5);
  m.WriteUChar(250);
  m.WriteShort(-300);
  m.WriteUShort(60000);
  m.WriteLong(-7);
  m.WriteULong(4000000000u);
  m.WriteInt64(-1);
  m.WriteExtended(2.5L);
  m.SetPosition(0);

  CInt i;
  CFloat f;
  CStr s;
  CBool b;
  std::int8_t c;
  std::uint8_t uc;
  std::int16_t sh;
  std::uint16_t ush;
  std::int32_t l;
  std::uint32_t ul;
  std::int64_t ll;
  long double x;
  m.ReadInt(i);
  m.ReadFloat(f);
  EXPECT_EQ(m.ReadStr(s).Value, 6);
  m.ReadBool(b);
  m.ReadChar(&c);
  m.ReadUChar(&uc);
  m.ReadShort(&sh);
  m.ReadUShort(&ush);
  m.ReadLong(&l);
  m.ReadULong(&ul);
  m.ReadInt64(&ll);
  m.ReadExtended(&x);
  EXPECT_EQ(i.Value, -123456);
  EXPECT_EQ(f.Value, 0.1L);
  EXPECT_EQ(s, "Привет"_cp);
  EXPECT_TRUE(b);
  EXPECT_EQ(c, -5);
  EXPECT_EQ(uc, 250);
  EXPECT_EQ(sh, -300);
  EXPECT_EQ(ush, 60000);
  EXPECT_EQ(l, -7);
  EXPECT_EQ(ul, 4000000000u);
  EXPECT_EQ(ll, -1);
  EXPECT_EQ(x, 2.5L);
  EXPECT_TRUE(m.Eof());
}

TEST(CStream, StringReadsDropZeroBytesAndStopAtTheEnd) {
  CMemory m;
  m.WriteInt(4);
  m.Write("a\0b", 3);  // a zero byte inside, and one byte short of the count
  m.SetPosition(0);
  CStr s = "old";
  EXPECT_EQ(m.ReadStr(s).Value, 4);
  EXPECT_EQ(s, "ab");
  EXPECT_TRUE(m.Eof());

  CMemory huge;  // a damaged count must not allocate or read past the end
  huge.WriteInt(0x7FFFFFFF);
  huge.SetPosition(0);
  EXPECT_EQ(huge.ReadStr(s).Value, 0x7FFFFFFF);
  EXPECT_EQ(s, "");

  CMemory empty;
  s = "old";
  EXPECT_EQ(empty.ReadStr(s).Value, 0);
  EXPECT_EQ(s, "");
  EXPECT_EQ(empty.GetPosition().Value, 0);
}

TEST(CMemory, PositionSizeAndPartialReads) {
  CMemory m;
  EXPECT_TRUE(m.Eof());
  const char ten[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(m.Write(ten, 10).Value, 10);
  m.SetPosition(0);
  EXPECT_EQ(m.Write("abcd", 4).Value, 4);
  EXPECT_EQ(m.GetSize().Value, 10);
  EXPECT_EQ(m.GetPosition().Value, 4);

  char out[8] = {};
  m.SetPosition(7);
  EXPECT_EQ(m.Read(out, 8).Value, 3);  // only what is there
  EXPECT_EQ(m.GetPosition().Value, 10);
  EXPECT_EQ(m.Read(out, 8).Value, 0);
  EXPECT_EQ(m.Read(nullptr, 4).Value, 0);
  EXPECT_EQ(m.Write(ten, 0).Value, 0);

  m.SetPosition(12);  // writing past the end fills the gap with zeros
  m.Write(nullptr, 2);
  EXPECT_EQ(Bytes(m), (B{'a', 'b', 'c', 'd', 5, 6, 7, 8, 9, 10, 0, 0, 0, 0}));

  m.SetSize(3);
  EXPECT_EQ(Bytes(m), (B{'a', 'b', 'c'}));
}

TEST(CMemory, AssignCopiesAnotherMemoryStream) {
  CMemory source;
  source.WriteStr("copy");
  CMemory target;
  target.WriteInt(99);
  target.WriteInt(99);
  target.WriteInt(99);
  target.Assign(source);
  EXPECT_EQ(target.GetPosition().Value, 8);
  target.SetPosition(0);
  CStr s;
  target.ReadStr(s);
  EXPECT_EQ(s, "copy");
}

TEST(ValueRecords, NameThenValue) {
  CApp app;
  CInt i = 7;
  i.SetName("n");
  CMemory m;
  i.SaveToStream(m);
  EXPECT_EQ(Bytes(m), (B{1, 0, 0, 0, 'n', 7, 0, 0, 0}));

  CObject unnamed;
  CMemory m2;
  unnamed.SaveToStream(m2);
  EXPECT_EQ(Bytes(m2), (B{0, 0, 0, 0}));

  CMemory all;
  CStr s = "text";
  s.SetName("s");
  CFloat f = 1.5;
  CBool b = true;
  s.SaveToStream(all);
  f.SaveToStream(all);
  b.SaveToStream(all);
  all.SetPosition(0);
  CStr s2;
  CFloat f2;
  CBool b2;
  s2.LoadFromStream(all);
  f2.LoadFromStream(all);
  b2.LoadFromStream(all);
  EXPECT_EQ(s2, "text");
  EXPECT_EQ(s2.GetName(), "s");
  EXPECT_EQ(f2.Value, 1.5L);
  EXPECT_TRUE(b2);
  EXPECT_TRUE(all.Eof());
}

// A source that hands out at most a few bytes a call, as a file or a pipe may.
class CTrickle : public CMemory {
 public:
  CInt Read(void* buffer, const CInt& count) override {
    return CMemory::Read(buffer, count.Value < 3 ? count : CInt(3));
  }
};

TEST(CMemory, ReadFromTakesWhatTheSourceGivesInPieces) {
  CTrickle source;
  source.Write("0123456789", 10);
  source.SetPosition(0);
  CMemory target;
  target.Write("ab", 2);
  EXPECT_EQ(target.ReadFrom(source, 7).Value, 7);
  EXPECT_EQ(Bytes(target), (B{'a', 'b', '0', '1', '2', '3', '4', '5', '6'}));
  EXPECT_EQ(target.GetPosition().Value, 9);

  // The source ends first: the bytes it had, and their count.
  EXPECT_EQ(target.ReadFrom(source, 100).Value, 3);
  EXPECT_EQ(target.GetSize().Value, 12);
  EXPECT_EQ(target.GetPosition().Value, 12);

  // Over bytes already there, the size grows only past them.
  source.SetPosition(0);
  target.SetPosition(1);
  EXPECT_EQ(target.ReadFrom(source, 2).Value, 2);
  EXPECT_EQ(Bytes(target), (B{'a', '0', '1', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
  EXPECT_EQ(target.ReadFrom(source, 0).Value, 0);
}
