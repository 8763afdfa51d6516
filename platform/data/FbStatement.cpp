#include "platform/data/FbStatement.h"

using namespace Firebird;

namespace fbclient {

TFbStatement::TFbStatement(IAttachment* attachment, ITransaction* transaction, const std::string& text)
    : FAttachment(attachment) {
  FHandle = TFbStatementHandle(attachment->prepare(FStatus.Get(), transaction, 0, text.c_str(), 1,
                                                   IStatement::PREPARE_PREFETCH_METADATA));
  FStatus.Check(FAttachment);
  TFbMetadata input(FHandle->getInputMetadata(FStatus.Get()));
  FStatus.Check(FAttachment);
  FInput = TInputMessage(std::move(input));
  FOutputMetadata = TFbMetadata(FHandle->getOutputMetadata(FStatus.Get()));
  FStatus.Check(FAttachment);
  FColumns = DescribeSlots(FOutputMetadata.Get());
  FRow.assign(FOutputMetadata->getMessageLength(FStatus.Get()), 0);
  FStatus.Check(FAttachment);
  FHasCursor = (FHandle->getFlags(FStatus.Get()) & IStatement::FLAG_HAS_CURSOR) != 0;
  FStatus.Check(FAttachment);
}

void TFbStatement::Open(ITransaction* transaction, const std::vector<const TDataValue*>& values) {
  CloseCursor();
  FInput.Fill(values, FAttachment, transaction);
  TFbResultSet cursor(FHandle->openCursor(FStatus.Get(), transaction, FInput.Metadata(), FInput.Buffer(),
                                          FOutputMetadata.Get(), 0));
  FStatus.Check(FAttachment);
  FCursor = std::move(cursor);
  FCursorTransaction = transaction;
}

bool TFbStatement::Fetch() {
  if (FCursor->fetchNext(FStatus.Get(), FRow.data()) == IStatus::RESULT_NO_DATA) return false;
  FStatus.Check(FAttachment);
  return true;
}

void TFbStatement::CloseCursor() {
  FCursor.Reset();
  FCursorTransaction = nullptr;
}

void TFbStatement::Execute(ITransaction* transaction, const std::vector<const TDataValue*>& values) {
  FInput.Fill(values, FAttachment, transaction);
  if (FHasCursor) {
    // Its rows are not wanted: the cursor is closed again at once.
    TFbResultSet cursor(FHandle->openCursor(FStatus.Get(), transaction, FInput.Metadata(), FInput.Buffer(),
                                            FOutputMetadata.Get(), 0));
    FStatus.Check(FAttachment);
    return;
  }
  FHandle->execute(FStatus.Get(), transaction, FInput.Metadata(), FInput.Buffer(), FOutputMetadata.Get(),
                   FRow.data());
  FStatus.Check(FAttachment);
}

unsigned long long TFbStatement::AffectedRows() {
  const ISC_UINT64 affected = FHandle->getAffectedRecords(FStatus.Get());
  FStatus.Check(FAttachment);
  return affected;
}

}  // namespace fbclient
