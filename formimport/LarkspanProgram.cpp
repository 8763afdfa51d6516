#include "formimport/LarkspanProgram.h"

#include "formimport/ImportAdvF.h"
#include "formimport/LarkspanUnits.h"
#include "foundation/QData.h"

TProgramParts LarkspanProgram() {
  return {
      .Name = "larkspan",
      .RegisterClasses = RegisterImportAdvFClasses,
      .RegisterUnits = RegisterLarkspanUnits,
      // The open dialog would ask a person who is not there.
      .NeedsAPerson = [] { return FormFileArgument().empty(); },
      .NothingToDoMessage =
          "no display to choose the form file on: give it as the argument (larkspan FORM.XML)",
      .Title = "Larkspan",
      // The dialog's loading and the whole import use the data module, so it comes first.
      .Forms = {MakeForm(dmData), MakeForm(dlImportAdvF)},
  };
}
