// TdlQBaseModal: the base of the modal dialogs, with OK, Cancel and Help buttons and an audit page
// whose tab caption is painted blue when the record shown was edited after it was inserted.
#pragma once

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TdlQBaseModal : public TForm {
  Q_CLASS(TdlQBaseModal, TForm)

  explicit TdlQBaseModal(TComponent* owner);

  // Published fields, set by the form resource.
  TPanel* paTop = nullptr;
  TPanel* paBottom = nullptr;
  TPanel* paButtons = nullptr;
  TPageControl* pcPageControl = nullptr;
  TTabSheet* tsMain = nullptr;
  TButton* buOK = nullptr;
  TButton* buCancel = nullptr;
  TButton* buHelp = nullptr;

  // Published handlers.
  // Focuses buOK and ends a modal showing with OK; a hidden or disabled buOK raises the focus error
  // and leaves ModalResult alone.
  void buOKClick(TObject* Sender);
  void miCancelClick(TObject* Sender);
  // Asks the application for help on the form's HelpContext.
  void buHelpClick(TObject* Sender);
  // After the stored forms have been read: no audit page yet, and the tabs are owner-drawn.
  void Loaded() override;
  // At every showing: finds the insertion and last-edit times shown by the form's data-aware texts
  // and, when they differ, takes the page named tsAudit as the audit page.
  void FormShow(TObject* Sender);
  void pcPageControlDrawTab(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active);

  // The audit page's index among the visible tabs as last painted (-1: none), and the audit page.
  int AuditTabIndex() const { return FAuditTabIndex; }
  TTabSheet* AuditSheet() const { return FAuditSheet; }

  void Notification(TComponent* component, TOperation operation) override;

 private:
  int FAuditTabIndex = -1;
  TTabSheet* FAuditSheet = nullptr;
};

// Registers TdlQBaseModal for form resources.
void RegisterQBaseModal();
