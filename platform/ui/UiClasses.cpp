#include "platform/ui/UiClasses.h"

#include "platform/components/TypeInfo.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

void RegisterUiClasses() {
  RegisterClasses({&TForm::StaticClass(), &TPanel::StaticClass(), &TLabel::StaticClass(),
                   &TButton::StaticClass(), &TBitBtn::StaticClass(), &TEdit::StaticClass(),
                   &TComboBox::StaticClass(), &TPageControl::StaticClass(), &TTabSheet::StaticClass(),
                   &TDataSource::StaticClass(), &TDBText::StaticClass(), &TOpenDialog::StaticClass(),
                   &TOpenPictureDialog::StaticClass()});
}
