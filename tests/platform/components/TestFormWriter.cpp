#include <gtest/gtest.h>

#include "SampleComponents.h"
#include "platform/components/FormWriter.h"

namespace {

class FormWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleClasses();
    SampleLog().clear();
  }
};

TEST_F(FormWriterTest, LeavesOutDefaultsAndWritesPropertiesWithoutOne) {
  TSampleForm* form = NewComponent<TSampleForm>(nullptr);
  form->buCancel->Visible = false;
  form->buCancel->Font.Size = 12;
  form->buCancel->Font.Shadow.Depth = 2;
  form->buCancel->Options = TSampleStyles{ssBold, ssUnderline};
  form->buCancel->Ratio = 0.5;
  form->buCancel->Lines.Add("SERVER NAME=/db/dev.fdb");
  form->buCancel->Lines.Add("USER NAME=SYSDBA");
  form->buCancel->Buddy = form->buOK;
  form->buCancel->SetTag(7);
  EXPECT_EQ(WriteComponentResource(form),
            "object fmSample: TSampleForm\r\n"
            "  Caption = 'Sample'\r\n"
            "  object buOK: TSampleWidget\r\n"
            "    Caption = '&OK'\r\n"
            "    Width = 75\r\n"
            "    Height = 0\r\n"
            "    Enabled = True\r\n"
            "    Options = []\r\n"
            "    Font.Name = 'Sans'\r\n"
            "    OnClick = buOKClick\r\n"
            "  end\r\n"
            "  object buCancel: TSampleWidget\r\n"
            "    Tag = 7\r\n"
            "    Caption = 'Cancel'\r\n"
            "    Height = 0\r\n"
            "    Visible = False\r\n"
            "    Enabled = True\r\n"
            "    Colour = scRed\r\n"
            "    Options = [ssBold, ssUnderline]\r\n"
            "    Ratio = 0.5\r\n"
            "    Lines.Strings = (\r\n"
            "      'SERVER NAME=/db/dev.fdb'\r\n"
            "      'USER NAME=SYSDBA')\r\n"
            "    Font.Name = 'Sans'\r\n"
            "    Font.Size = szLarge\r\n"
            "    Font.Shadow.Depth = 2\r\n"
            "    OnClick = buCancelClick\r\n"
            "    Buddy = buOK\r\n"
            "  end\r\n"
            "end\r\n");
  delete form;
}

TEST_F(FormWriterTest, WrittenResourceReadsBackToTheSameValues) {
  TSampleForm* form = NewComponent<TSampleForm>(nullptr);
  form->Caption = "It's\r\n\x01 caf\xE9";
  form->buOK->Ratio = -1e-7;
  form->buOK->Height = -3;
  form->buOK->Font.Size = 9;
  form->buOK->Font.Style = TSampleStyles{ssItalic};
  form->buOK->Lines.Add("");
  form->buOK->Lines.Add("'quoted'");
  form->buCancel->Buddy = form->buOK;
  std::string text = WriteComponentResource(form);

  TSampleForm copy(nullptr);
  ReadComponentResource(&copy, text.c_str());
  EXPECT_EQ(copy.Name(), "fmSample");
  EXPECT_EQ(copy.Caption, form->Caption);
  ASSERT_NE(copy.buOK, nullptr);
  ASSERT_NE(copy.buCancel, nullptr);
  EXPECT_DOUBLE_EQ(copy.buOK->Ratio, -1e-7);
  EXPECT_EQ(copy.buOK->Height, -3);
  EXPECT_EQ(copy.buOK->Font.Size, 9);
  EXPECT_EQ(copy.buOK->Font.Style, (TSampleStyles{ssItalic}));
  EXPECT_EQ(copy.buOK->Lines, (TStringList{"", "'quoted'"}));
  EXPECT_EQ(copy.buCancel->Buddy, copy.buOK);
  EXPECT_EQ(copy.buCancel->Colour, scRed);
  SampleLog().clear();
  copy.buOK->Click();
  EXPECT_EQ(SampleLog(), (std::vector<std::string>{"TSampleForm.buOKClick"}));
  // Writing the copy gives the very same text.
  EXPECT_EQ(WriteComponentResource(&copy), text);
  delete form;
}

TEST_F(FormWriterTest, StringsAreQuotedAsTheFormatReadsThem) {
  struct Case {
    std::string Value;
    std::string Written;
  };
  const Case cases[] = {
      {"plain", "'plain'"}, {"it's", "'it''s'"},      {"a\r\nb", "'a'#13#10'b'"},
      {"\t", "#9"},         {"caf\xE9", "'caf'#233"}, {"''", "''''''"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Written);
    TComponent root(nullptr);
    root.SetName("root");
    auto* w = new TSampleWidget(&root);
    w->SetName("w");
    w->SetCaption(c.Value);
    std::string text = WriteComponentResource(&root);
    EXPECT_NE(text.find("    Caption = " + c.Written + "\r\n"), std::string::npos) << text;
    TComponent back(nullptr);
    ReadComponentResource(&back, text.c_str());
    EXPECT_EQ(AsClass<TSampleWidget>(back.FindComponent("w"))->Caption(), c.Value);
  }
}

TEST_F(FormWriterTest, HandlerBoundInCodeWithoutAPublishedNameIsNotWritten) {
  TComponent root(nullptr);
  root.SetName("root");
  auto* w = new TSampleWidget(&root);
  w->SetName("w");
  w->OnClick = TNotifyEvent(&root, [](TObject*, TObject*) {});
  EXPECT_EQ(WriteComponentResource(&root),
            "object root: TComponent\r\n"
            "  object w: TSampleWidget\r\n"
            "    Height = 0\r\n"
            "    Enabled = True\r\n"
            "    Options = []\r\n"
            "    Font.Name = 'Sans'\r\n"
            "  end\r\n"
            "end\r\n");
}

}  // namespace
