// The design as text: every kind with every field it has is written and read back to the same
// text and the same controls; damaged text opens what can be read, keeps the rest and says where.
#include <string>

#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/DsgnForm.h"
#include "graphics/Font.h"
#include "graphics/GLApp.h"
#include "model/Design.h"
#include "tests/designer/DesignerFixture.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace {

using namespace qxtest;

class DesignTextTest : public DesignerTest {
 protected:
  DesignTextTest() {
    designer = new CDsgnForm(main->Client);
    designer->SetBounds(10, 10, 500, 400, true);
    other = new CDsgnForm(main->Client);
    other->SetBounds(10, 10, 500, 400, true);
    main->Invalidate();
  }

  // The text written by the designer, as read into another designer and written again.
  std::string RoundTrip(const std::string& text) {
    EXPECT_EQ(other->ReadDesign(CStr(std::string_view(text)), "TForm"), "");
    return other->WriteDesign("").ToStd();
  }

  CDsgnForm* designer;
  CDsgnForm* other;
};

const char* const kAllKinds[] = {"CLine",   "CRectangle", "CFillRectangle", "CEllipse",
                                 "CFillEllipse", "CText", "CPic", "CBevel", "CPanel", "CLabel",
                                 "CPicButton", "CButton", "CEdit", "CForm"};

TEST_F(DesignTextTest, EveryKindWithEveryFieldReadsBackTheSame) {
  // Each kind with values other than the tool's: so a field left unread would show.
  int n = 0;
  for (const char* kind : kAllKinds) {
    CControl* c = designer->MakeKind(kind, designer->Map);
    ASSERT_NE(c, nullptr) << kind;
    const double x = 9 * n++;
    c->SetRect(CRect(x, 18.5, x + 40, 1.0 / 3 + 50));  // a third: digits a short form would lose
    c->Color = CColor(0.25, 1.0 / 3, 1);
    c->Anchors.Set(1, 2, 3, 4);
    c->Visible = n % 2 == 0;
    c->SetName(designer->FreeName(kind));
    if (CControl* face = CDsgnForm::FaceOf(c)) face->Color = CColor(0.5, 0, 1);
    if (CText* text = CDsgnForm::TextOf(c)) {
      text->Str = "Пароль: \"x\\y\"\n2"_cp;
      if (text != c) text->Color = CColor(1, 0, 0);
      text->Center = true;
    }
    designer->SetClick(c, std::string(kind + 1) + "Click");
  }
  for (const char* kind : {"CPic", "CPicButton"}) {
    for (std::int32_t i = 0; i < designer->Map->ChildCount().Value; ++i)
      if (designer->Map->GetChild(i)->ClassName() == kind) {
        CControl* c = designer->Map->GetChild(i);
        if (auto* pic = dynamic_cast<CPic*>(c)) pic->FileName = "C:\\Qxe\\Мой рисунок.bmp"_cp;
        if (auto* b = dynamic_cast<CPicButton*>(c)) b->Picture->FileName = "D:\\b.bmp";
      }
  }
  // A group with a member, which is a group itself.
  CControl* group = designer->MakeKind("CControl", designer->Map);
  group->SetRect(CRect(100, 100, 200, 200));
  group->Color = CColor(0, 0, 1);
  group->SetName("MyControl1");
  CControl* inner = designer->MakeKind("CControl", group);
  inner->SetRect(CRect(0, 0, 50, 50));
  inner->SetFramePart(true);
  CControl* member = designer->MakeKind("CButton", inner);
  member->SetRect(CRect(1, 2, 30, 20));
  member->SetFramePart(true);
  member->SetName("Button9");

  const std::string text = designer->WriteDesign("").ToStd();
  const std::vector<std::string> lines = design::SplitLines(text);
  ASSERT_EQ(lines.size(), 18u) << text;
  EXPECT_EQ(lines[0], "design 1");
  EXPECT_EQ(lines[17],
            "    CButton Button9 rect=1,2,30,20 color=0,0,0 anchors=1,1,1,1 face=0.8000000000000000444,"
            "0.8000000000000000444,0.8000000000000000444 text=\"Text\" textcolor=0,0,0 "
            "font=\"MS Sans Serif\",13,- center picture=\"\"")
      << "a member of a member, indented twice";
  EXPECT_NE(lines[1].find(" rect=0,18.5,40,50.333333333333335702 color=0.25,0.33333333333333331483,1"
                          " anchors=1,2,3,4 hidden"),
            std::string::npos)
      << lines[1];
  EXPECT_EQ(lines[6].rfind("CText Text1 ", 0), 0u) << lines[6];

  EXPECT_EQ(RoundTrip(text), text);
  // The controls themselves, not only their text.
  CControl* label = other->Map->GetChild(9);
  ASSERT_EQ(label->ClassName(), "CLabel");
  EXPECT_EQ(label->GetName(), "Label1");
  EXPECT_EQ(CDsgnForm::TextOf(label)->Str, "Пароль: \"x\\y\"\n2"_cp);
  EXPECT_TRUE(CDsgnForm::TextOf(label)->Center);
  EXPECT_EQ(label->Anchors.M2Y, CInt(4));
  EXPECT_TRUE(label->Visible);
  EXPECT_FALSE(other->Map->GetChild(0)->Visible);
  EXPECT_EQ(*other->ClickOf(label), "LabelClick");
  auto* pic = dynamic_cast<CPic*>(other->Map->GetChild(6));
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(pic->FileName, "C:\\Qxe\\Мой рисунок.bmp"_cp);
  CControl* readGroup = other->Map->GetChild(14);
  ASSERT_EQ(readGroup->FramePartCount(), CInt(1));
  ASSERT_EQ(readGroup->GetFramePart(0)->FramePartCount(), CInt(1));
  EXPECT_EQ(readGroup->GetFramePart(0)->GetFramePart(0)->GetName(), "Button9");
}

// The form's own line: its title and size are read, shown and written back; a design without
// one is a form of the default size titled after its class, and is written without the line.
TEST_F(DesignTextTest, TheFormLineKeepsTheTitleAndSizeAndOlderDesignsStillRead) {
  const std::string line = "CLine Line1 rect=0,0,50,50 color=0,0,0 anchors=3,3,4,4\n";
  const std::string text = "design 1\nform title=\"Вход \\\"1\\\"\" size=320,240\n"_cp + line;
  ASSERT_EQ(RoundTrip(text), text);
  EXPECT_EQ(other->Form.Title, "Вход \"1\""_cp);
  EXPECT_EQ(other->Form.Width, CInt(320));
  EXPECT_EQ(other->Form.Height, CInt(240));
  EXPECT_EQ(other->Caption->Title->Str, "Вход \"1\""_cp) << "the caption shows the title";
  EXPECT_EQ(other->Map->FormWidth, CInt(320));
  EXPECT_EQ(other->Map->FormHeight, CInt(240));
  EXPECT_EQ(other->Map->ChildCount(), CInt(1));

  ASSERT_EQ(RoundTrip("design 1\n" + line), "design 1\n" + line);
  EXPECT_EQ(other->Form.Title, "TForm") << "an older design: the class's name";
  EXPECT_EQ(other->Form.Width, CInt(design::kDefaultFormWidth));
  EXPECT_EQ(other->Form.Height, CInt(design::kDefaultFormHeight));
  EXPECT_EQ(other->Map->FormWidth, CInt(design::kDefaultFormWidth));

  // A form line alone is a design worth keeping, even over another tool's text.
  const std::string alone = "notes\r\ndesign 1\nform title=\"\" size=1,10000\n";
  EXPECT_EQ(other->ReadDesign(CStr(std::string_view(alone)), "TForm"), "");
  EXPECT_EQ(other->WriteDesign(CStr(std::string_view(alone))).ToStd(), alone);
}

TEST_F(DesignTextTest, ASecondOrMisplacedFormLineIsDamage) {
  const struct {
    const char* text;
    const char* why;
    int width;  // of the form that was read
  } cases[] = {
      {"design 1\nform size=100,100\nform size=200,200\n", "a second form line", 100},
      {"design 1\nCControl MyControl1 rect=0,0,9,9\n  form size=200,200\n",
       "an indented form line", design::kDefaultFormWidth},
      // The form line ends the group above it: an indented line after it has no group.
      {"design 1\nCControl MyControl1 rect=0,0,9,9\nform size=200,200\n  CLine L rect=0,0,1,1\n",
       "indented below no group", 200},
  };
  for (const auto& c : cases) {
    const design::Parsed parsed = design::Parse(c.text);
    ASSERT_EQ(parsed.Damages.size(), 1u) << c.text;
    EXPECT_EQ(parsed.Damages[0].Why, c.why) << c.text;
    EXPECT_NE(other->ReadDesign(c.text, "TForm"), "") << c.text;
    EXPECT_EQ(other->Form.Width, CInt(c.width)) << c.text;
  }
}

// A font other than the tool's is found again, or registered, by face, height and style.
TEST_F(DesignTextTest, AFontIsFoundOrMadeByFaceHeightAndStyle) {
  const std::string text =
      "design 1\n"
      "CText Text1 rect=0,0,50,20 color=0,0,0 anchors=3,3,4,4 text=\"a\" font=\"MS Sans Serif\",13,-\n"
      "CText Text2 rect=0,0,50,20 color=0,0,0 anchors=3,3,4,4 text=\"b\" font=\"DejaVu Sans\",21,bi\n";
  ASSERT_EQ(RoundTrip(text), text);
  const CInt fonts = GLApp->FontManager->Count();
  auto* second = static_cast<CText*>(other->Map->GetChild(1));
  const CFont* font = GLApp->FontManager->Find(second->FontNumber);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Height, CInt(21));
  EXPECT_TRUE(font->B && font->I && !font->U);
  RoundTrip(text);
  EXPECT_EQ(GLApp->FontManager->Count(), fonts) << "the same font is not registered twice";
}

TEST_F(DesignTextTest, ADamagedLineIsSkippedKeptAndReportedByClassAndLine) {
  const std::string good = "CLine Line1 rect=0,0,50,50 color=0,0,0 anchors=3,3,4,4";
  // What went wrong, for qxtree and, in the box, in the user's words.
  const struct {
    const char* damage;
    const char* why;
    const char* said;
  } cases[] = {
      {"CLine Line2 rect=0,0,50", "rect needs four numbers", "rect: нужны четыре числа"_cp},
      {"CWidget Widget1 rect=0,0,50,50", "unknown control class CWidget",
       "неизвестный класс элемента CWidget"_cp},
      {"CLine Line2 rect=0,0,1e300,50", "rect out of bounds", "rect: координаты вне пределов"_cp},
      {"CLine Line2 rect=0,0,nan,50", "rect needs four numbers", "rect: нужны четыре числа"_cp},
      {"CLine Line2 rect=0,0,50,50 color=2,0,0", "color out of 0 to 1",
       "color: числа от 0 до 1"_cp},
      {"CLine Line2 rect=0,0,50,50 anchors=9,0,0,0", "anchors out of 0 to 4",
       "anchors: целые числа от 0 до 4"_cp},
      {"CText Text1 rect=0,0,50,50 text=\"open", "a text without its closing quote",
       "текст без закрывающей кавычки"_cp},
      {"CText Text1 rect=0,0,50,50 font=\"x\",0,-", "font needs a name",
       "font: нужны имя, высота от 1 до 500 и начертание"_cp},
      {"CText Text1 rect=0,0,50,50 font=\"x\",9,q", "font style of b, i, u, s or -",
       "font: начертание из букв b, i, u, s или -"_cp},
      {"   CLine Line2 rect=0,0,50,50", "an odd indent", "нечётный отступ"_cp},
      {"  CLine Line2 rect=0,0,50,50", "indented below no group", "отступ, но выше нет группы"_cp},
      {"CLine", "no name after the class", "нет имени после класса"_cp},
      {"CLine Line2 rect=0,0,50,50 ,x", "a field without a name", "поле без имени"_cp},
      {"CLine Line2 rect=0,0,50,50\"x\"", "unexpected text at column 27",
       "лишний текст в столбце 27"_cp},
      {"CLine Line2 rect=0,0,50,50 click=\"a\",\"b\"", "click needs one text",
       "click: нужен один текст"_cp},
      {"form title=\"Вход\" size=0,300", "size out of 1 to 10000",
       "size: размер формы - целые числа от 1 до 10000"_cp},
      {"form size=400,10001", "size out of 1 to 10000",
       "size: размер формы - целые числа от 1 до 10000"_cp},
      {"form size=400.5,300", "size out of 1 to 10000",
       "size: размер формы - целые числа от 1 до 10000"_cp},
      {"form size=400", "size needs two numbers", "size: нужны два числа"_cp},
      {"form title=\"a\",\"b\"", "title needs one text", "title: нужен один текст"_cp},
  };
  for (const auto& c : cases) {
    const std::string text = "design 1\n" + good + "\n" + c.damage + "\n" + good + "\n";
    const CStr report = other->ReadDesign(CStr(std::string_view(text)), "TLogin");
    EXPECT_NE(report.ToStd().find("TLogin"), std::string::npos) << c.damage;
    EXPECT_NE(report.ToStd().find(std::string("строка 3: "_cp) + c.said), std::string::npos)
        << c.damage << ": " << report.ToStd();
    const design::Parsed parsed = design::Parse(text);
    ASSERT_EQ(parsed.Damages.size(), 1u) << c.damage;
    EXPECT_EQ(parsed.Damages[0].Why.rfind(c.why, 0), 0u) << parsed.Damages[0].Why;
    EXPECT_EQ(other->Map->ChildCount(), CInt(2)) << "what reads is opened: " << c.damage;
    EXPECT_EQ(other->WriteDesign(CStr(std::string_view(text))).ToStd(),
              "design 1\n" + good + "\n" + good + "\n" + c.damage + "\n")
        << "the damaged line is kept";
  }
}

TEST_F(DesignTextTest, AGroupThatCannotBeReadTakesItsMembersAlong) {
  const std::string text =
      "design 1\n"
      "CControl MyControl1 rect=0,0,x,50\n"
      "  CLine Line1 rect=0,0,50,50\n"
      "CLine Line2 rect=0,0,50,50\n";
  const CStr report = other->ReadDesign(CStr(std::string_view(text)), "TForm");
  EXPECT_NE(report.ToStd().find("1"), std::string::npos);
  ASSERT_EQ(other->Map->ChildCount(), CInt(1));
  EXPECT_EQ(other->Map->GetChild(0)->GetName(), "Line2");
  const std::string written = other->WriteDesign("").ToStd();
  EXPECT_NE(written.find("\nCControl MyControl1 rect=0,0,x,50\n  CLine Line1 rect=0,0,50,50\n"),
            std::string::npos)
      << written;
}

// Text that is no design is somebody else's: it opens an empty surface and stays as it is until
// a control is placed.
TEST_F(DesignTextTest, AnotherTextIsLeftAloneUntilAControlIsPlaced) {
  for (const char* extra : {"", "notes of the user", "design 2\nCLine L rect=0,0,1,1\n", "design 10"}) {
    EXPECT_EQ(other->ReadDesign(extra, "TForm"), "") << extra;
    EXPECT_EQ(other->Map->ChildCount(), CInt(0)) << extra;
    EXPECT_EQ(other->WriteDesign(extra), CStr(extra));
  }
  // Once a control is placed the design follows the other text, which stays as it was.
  other->MakeKind("CLine", other->Map);
  EXPECT_EQ(other->WriteDesign("notes of the user").ToStd().rfind(
                "notes of the user\r\ndesign 1\nCLine - rect=", 0),
            0u);
}

// What the C++ import keeps of a class ("key: value" lines) and its design share the text.
TEST_F(DesignTextTest, TheImportsFactsOfAClassStayBeforeItsDesign) {
  const std::string facts = "namespace: app::ui\r\nbases: public Other\r\n";
  designer->MakeKind("CButton", designer->Map);
  const std::string written = designer->WriteDesign(CStr(std::string_view(facts))).ToStd();
  ASSERT_EQ(written.rfind(facts + "design 1\n", 0), 0u) << written;
  EXPECT_EQ(other->ReadDesign(CStr(std::string_view(written)), "TForm"), "");
  EXPECT_EQ(other->Map->ChildCount(), CInt(1));
  // Written again: the facts once, the design once.
  EXPECT_EQ(other->WriteDesign(CStr(std::string_view(written))).ToStd(), written);
}

}  // namespace
