#include <gtest/gtest.h>

#include "SampleComponents.h"
#include "platform/components/FormReader.h"

namespace {

class FormReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleClasses();
    SampleLog().clear();
  }
};

using Log = std::vector<std::string>;

TEST_F(FormReaderTest, SetsPropertiesInTheResourceOrderAndFillsHoldersInPlace) {
  TComponent root(nullptr);
  TSampleWidget* widget = NewComponent<TSampleWidget>(&root);
  widget->SetName("edName");
  TSampleFont* fontBefore = &widget->Font;
  TSampleShadow* shadowBefore = &widget->Font.Shadow;
  // The resource names the root after the component is declared; root's name comes from the header.
  ReadComponentResource(&root,
                        "object fmRoot: TComponent\n"
                        "  inherited edName: TSampleWidget\n"
                        "    Width = 120\n"
                        "    Caption = 'It''s'#13#10'done' +\n"
                        "      ' twice'\n"
                        "    Height = -7\n"
                        "    Enabled = False\n"
                        "    Colour = scBlue\n"
                        "    Options = [ssBold, ssUnderline]\n"
                        "    Ratio = 1.25\n"
                        "    Lines.Strings = (\n"
                        "      'SERVER NAME=/db/dev.fdb'\n"
                        "      'USER NAME=SYSDBA')\n"
                        "    Font.Name = 'Serif'\n"
                        "    Font.Size = szLarge\n"
                        "    Font.Style = [ssItalic]\n"
                        "    Font.Shadow.Depth = 3\n"
                        "  end\n"
                        "end\n");
  EXPECT_EQ(root.Name(), "fmRoot");
  EXPECT_EQ(SampleLog(), (Log{"edName.Width", "edName.Caption", "Loaded edName"}));
  EXPECT_EQ(widget->Width(), 120);
  EXPECT_EQ(widget->Caption(), "It's\r\ndone twice");
  EXPECT_EQ(widget->Height, -7);
  EXPECT_FALSE(widget->Enabled);
  EXPECT_EQ(widget->Colour, scBlue);
  EXPECT_EQ(widget->Options, (TSampleStyles{ssBold, ssUnderline}));
  EXPECT_DOUBLE_EQ(widget->Ratio, 1.25);
  EXPECT_EQ(widget->Lines, (TStringList{"SERVER NAME=/db/dev.fdb", "USER NAME=SYSDBA"}));
  EXPECT_EQ(&widget->Font, fontBefore);
  EXPECT_EQ(&widget->Font.Shadow, shadowBefore);
  EXPECT_EQ(widget->Font.Name, "Serif");
  EXPECT_EQ(widget->Font.Size, 12);
  EXPECT_EQ(widget->Font.Style, (TSampleStyles{ssItalic}));
  EXPECT_EQ(widget->Font.Shadow.Depth, 3);
}

TEST_F(FormReaderTest, ReadsValueSpellingsTheFormatAllows) {
  struct Case {
    const char* Line;
    std::string Caption;
    int Height;
  };
  const Case cases[] = {
      {"Caption = ''", "", 0},
      {"Caption = #65#$42'c'", "ABc", 0},
      {"Caption = 'a' + #9 + 'b'", "a\tb", 0},
      {"Caption = #233", "\xE9", 0},
      {"Height = $1F", "", 31},
      {"Height = +5", "", 5},
      {"caption = 'lower-case name'", "lower-case name", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Line);
    TComponent root(nullptr);
    TSampleWidget* w = NewComponent<TSampleWidget>(&root);
    w->SetName("w");
    ReadComponentResource(&root, (std::string("object r: TComponent\n inherited w: TSampleWidget\n  ") +
                                  c.Line + "\n end\nend\n")
                                     .c_str());
    EXPECT_EQ(w->Caption(), c.Caption);
    EXPECT_EQ(w->Height, c.Height);
  }
}

TEST_F(FormReaderTest, CreatesComponentsOwnedByTheRootAndNestedUnderTheirParent) {
  TComponent root(nullptr);
  ReadComponentResource(&root,
                        "object fmRoot: TComponent\n"
                        "  object paTop: TSampleWidget\n"
                        "    object buHelp: TSampleWidget\n"
                        "      Buddy = buLater\n"
                        "    end\n"
                        "  end\n"
                        "  object buLater: TSampleWidget\n"
                        "  end\n"
                        "end\n");
  ASSERT_EQ(root.ComponentCount(), 3);
  auto* paTop = AsClass<TSampleWidget>(root.FindComponent("paTop"));
  auto* buHelp = AsClass<TSampleWidget>(root.FindComponent("BUHELP"));
  auto* buLater = AsClass<TSampleWidget>(root.FindComponent("buLater"));
  EXPECT_EQ(buHelp->Owner(), &root);
  EXPECT_EQ(paTop->ParentSeen, &root);
  EXPECT_EQ(buHelp->ParentSeen, paTop);
  // A reference to a component declared further down is set once the whole resource is read.
  EXPECT_EQ(buHelp->Buddy, buLater);
  // Loaded runs after everything has been read, in the order the resource declares the components.
  EXPECT_EQ(SampleLog(), (Log{"Loaded paTop", "Loaded buHelp", "Loaded buLater"}));
  for (int i = 0; i < root.ComponentCount(); ++i) {
    auto* w = AsClass<TSampleWidget>(root.Components(i));
    EXPECT_TRUE(w->LoadingDuringRead) << w->Name();
    EXPECT_FALSE(w->InState(csLoading)) << w->Name();
    EXPECT_FALSE(w->InState(csReading)) << w->Name();
  }
}

TEST_F(FormReaderTest, BindsHandlersAndFieldsOfTheRootClass) {
  TSampleForm* form = NewComponent<TSampleForm>(nullptr);
  ASSERT_NE(form->buOK, nullptr);
  ASSERT_NE(form->buCancel, nullptr);
  EXPECT_EQ(form->Name(), "fmSample");
  EXPECT_EQ(form->Caption, "Sample");
  EXPECT_EQ(form->buOK->Width(), 75);
  EXPECT_EQ(form->buCancel->Width(), 64);
  EXPECT_EQ(form->buCancel->Colour, scRed);
  // Root first, then the components in resource order.
  EXPECT_EQ(SampleLog(), (Log{"buOK.Caption", "buOK.Width", "buCancel.Caption", "Loaded fmSample",
                              "Loaded buOK", "Loaded buCancel"}));
  SampleLog().clear();
  form->buOK->Click();
  form->buCancel->Click();
  EXPECT_EQ(SampleLog(), (Log{"TSampleForm.buOKClick", "TSampleForm.buCancelClick"}));
  EXPECT_EQ(form->buOK->OnClick.MethodName(), "buOKClick");
  delete form;
}

TEST_F(FormReaderTest, DerivedResourceIsReadOverTheBaseAndItsMethodTakesTheBasePlace) {
  TSampleDerivedForm* form = NewComponent<TSampleDerivedForm>(nullptr);
  EXPECT_EQ(form->Name(), "fmDerived");
  EXPECT_EQ(form->Caption, "Derived");
  ASSERT_EQ(form->ComponentCount(), 3);
  // Values of the base resource stay unless the derived one sets them.
  EXPECT_EQ(form->buOK->Width(), 75);
  EXPECT_EQ(form->buOK->Caption(), "&OK");
  EXPECT_EQ(form->buCancel->Width(), 90);
  EXPECT_EQ(form->buCancel->Caption(), "Cancel");
  EXPECT_EQ(form->buCancel->Colour, scRed);
  ASSERT_NE(form->laDoc, nullptr);
  EXPECT_EQ(form->laDoc->Caption(), "laDoc");
  // Each component is loaded once, after both resources have been read.
  Log loads;
  for (const std::string& entry : SampleLog()) {
    if (entry.rfind("Loaded", 0) == 0) loads.push_back(entry);
  }
  EXPECT_EQ(loads, (Log{"Loaded fmDerived", "Loaded buOK", "Loaded buCancel", "Loaded laDoc"}));
  SampleLog().clear();
  form->buOK->Click();
  form->buCancel->Click();
  EXPECT_EQ(SampleLog(), (Log{"TSampleDerivedForm.buOKClick", "TSampleForm.buCancelClick"}));
  delete form;
}

TEST_F(FormReaderTest, EventsWithSeveralParametersBindByName) {
  TSampleForm form(nullptr);
  ReadComponentResource(&form,
                        "object fmTabs: TSampleForm\n"
                        "  object pcPages: TSampleWidget\n"
                        "    OnDrawTab = pcDrawTab\n"
                        "  end\n"
                        "end\n");
  auto* pages = AsClass<TSampleWidget>(form.FindComponent("pcPages"));
  SampleLog().clear();
  pages->OnDrawTab(pages, 2, TSampleRect{4, 0, 60, 20}, true);
  EXPECT_EQ(SampleLog(), (Log{"pcDrawTab pcPages 2 4,20 active"}));
  // The same handler does not fit a notify event.
  try {
    ReadComponentResource(&form,
                          "object fmTabs: TSampleForm\n  inherited pcPages: TSampleWidget\n"
                          "    OnClick = pcDrawTab\n  end\nend\n");
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(),
              "Line 3: Error reading pcPages.OnClick: Method pcDrawTab does not fit the event OnClick");
  }
}

TEST_F(FormReaderTest, SecondInstanceUnderOneOwnerGetsANameOfItsOwn) {
  TComponent owner(nullptr);
  TSampleForm* first = NewComponent<TSampleForm>(&owner);
  TSampleForm* second = NewComponent<TSampleForm>(&owner);
  EXPECT_EQ(first->Name(), "fmSample");
  EXPECT_EQ(second->Name(), "fmSample_1");
}

TEST_F(FormReaderTest, ErrorsNameTheLineAndWhatWentWrong) {
  struct Case {
    const char* Text;
    const char* Message;
  };
  const Case cases[] = {
      {"object r: TComponent\n  object w: TSampleWidget\n    Colour = scPurple\n  end\nend\n",
       "Line 3: Error reading w.Colour: Invalid property value"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Captoin = 'x'\n  end\nend\n",
       "Line 3: Error reading w.Captoin: Property Captoin does not exist"},
      {"object r: TComponent\n  object w: TNoSuchClass\n  end\nend\n",
       "Line 2: Class TNoSuchClass not found"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Width = 4294967296\n  end\nend\n",
       "Line 3: Error reading w.Width: Invalid property value"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Width = 'wide'\n  end\nend\n",
       "Line 3: Error reading w.Width: Invalid property value"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Options = [ssBold, ssShadow]\n  end\nend\n",
       "Line 3: Error reading w.Options: Invalid set element ssShadow"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Caption = 'open\n  end\nend\n",
       "Line 3: Unterminated string"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Caption = #300\n  end\nend\n",
       "Line 3: Invalid character code #300"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Buddy = nobody\n  end\nend\n",
       "Line 3: Error reading w.Buddy: Component nobody not found"},
      {"object r: TComponent\n  inherited w: TSampleWidget\n  end\nend\n",
       "Line 2: Inherited component w not found"},
      {"object r: TComponent\n  object w: TSampleWidget\n  end\n",
       "Line 4: 'end' expected but end of resource found"},
      {"object r: TComponent\nend\nend\n", "Line 3: Text after the end of the resource"},
      {"object r: TSampleForm\nend\n", "Line 1: The resource is for class TSampleForm, not TComponent"},
      {"object r: TComponent\n  object w: TSampleWidget\n  end\n  object W: TSampleWidget\n  end\nend\n",
       "Line 4: A component named W already exists"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Font = 'Serif'\n  end\nend\n",
       "Line 3: Error reading w.Font: Property Font is set through its own properties"},
      {"object r: TComponent\n  object w: TSampleWidget\n    Lines = ( 'a' 12 )\n  end\nend\n",
       "Line 3: Error reading w.Lines: String expected in the list"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TComponent root(nullptr);
    try {
      ReadComponentResource(&root, c.Text);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    // Nothing half-read stays loading.
    for (int i = 0; i < root.ComponentCount(); ++i) EXPECT_FALSE(root.Components(i)->InState(csLoading));
    EXPECT_FALSE(root.InState(csLoading));
  }
}

TEST_F(FormReaderTest, NestingBeyondAnyDesignedFormIsRefused) {
  TComponent root(nullptr);
  std::string text =
      "object r: TComponent\n  object w: TSampleWidget\n    Lines = " + std::string(100000, '(') +
      "\n  end\nend\n";
  try {
    ReadComponentResource(&root, text.c_str());
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Line 3: Nesting too deep");
  }
  EXPECT_EQ(root.ComponentCount(), 0);
}

TEST_F(FormReaderTest, HandlerMustExistOnTheRootAndFitTheEvent) {
  struct Case {
    const char* Handler;
    const char* Message;
  };
  const Case cases[] = {
      {"buMissingClick",
       "Line 3: Error reading buOK.OnClick: Method buMissingClick not found in TSampleForm"},
      {"Measure", "Line 3: Error reading buOK.OnClick: Method Measure does not fit the event OnClick"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Handler);
    TSampleForm form(nullptr);
    std::string text = std::string("object f: TSampleForm\n  inherited buOK: TSampleWidget\n    OnClick = ") +
                       c.Handler + "\n  end\nend\n";
    // The plain constructor reads nothing; read the base first so buOK exists.
    ReadComponentResource(&form, SampleFormResource);
    try {
      ReadComponentResource(&form, text.c_str());
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST_F(FormReaderTest, ComponentCreatedByAFailingBlockIsFreed) {
  TComponent root(nullptr);
  EXPECT_THROW(ReadComponentResource(&root,
                                     "object r: TComponent\n"
                                     "  object good: TSampleWidget\n"
                                     "  end\n"
                                     "  object bad: TSampleWidget\n"
                                     "    Width = True\n"
                                     "  end\n"
                                     "end\n"),
               EReadError);
  ASSERT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.Components(0)->Name(), "good");
  EXPECT_EQ(SampleLog(), (Log{"destroy bad"}));
}

}  // namespace
