// Message buffers of the Firebird client: what a statement's columns and parameters are, reading a
// fetched row into values, and building the input message from values. Internal to platform/data.
#pragma once

#include <string>
#include <vector>

#include "platform/data/ColumnValue.h"
#include "platform/data/DataValue.h"
#include "platform/data/FbClient.h"

namespace fbclient {

// One slot of a message as the metadata describes it.
struct TSlot {
  unsigned Type = 0;  // SQL_* code without the nullable bit
  int SubType = 0;
  unsigned Length = 0;
  int Scale = 0;
  unsigned CharSet = 0;
  unsigned Offset = 0;
  unsigned NullOffset = 0;
  std::string Field;     // the column's own name when it is a table column
  std::string Relation;  // its table; empty for expressions
  std::string Alias;     // the name the statement gives it
};

std::vector<TSlot> DescribeSlots(Firebird::IMessageMetadata* metadata);

// What the engine takes a slot's column for (scaled integers as ftBCD with their storage and scale).
TColumnType SlotColumnType(const TSlot& slot);

// Reads slot of a fetched row. A blob is not read here: its id is returned in blobId and the value
// holds the type only (null or not).
TDataValue DecodeSlot(const TSlot& slot, const unsigned char* buffer, ISC_QUAD* blobId);

// The input message of a statement. Its parameters are sent with the types of the values given (the
// server converts them to what it expects), so a text longer than its column reaches the server and
// is refused there with the server's own message. The metadata is rebuilt only when the values'
// types change or a text outgrows its slot.
class TInputMessage {
 public:
  TInputMessage() = default;
  explicit TInputMessage(TFbMetadata declared);
  TInputMessage(TInputMessage&&) noexcept = default;
  TInputMessage& operator=(TInputMessage&&) noexcept = default;

  unsigned Count() const { return static_cast<unsigned>(FDeclared.size()); }
  // Slot i as the statement declares it.
  const TSlot& Declared(unsigned index) const { return FDeclared[index]; }
  // values[i] is the value of slot i; blobs are written in transaction.
  void Fill(const std::vector<const TDataValue*>& values, Firebird::IAttachment* attachment,
            Firebird::ITransaction* transaction);
  Firebird::IMessageMetadata* Metadata() const { return FBuiltMetadata.Get(); }
  unsigned char* Buffer() { return FBuffer.data(); }

 private:
  struct TWanted {
    unsigned Type;
    int SubType;
    unsigned Length;
    int Scale;
    unsigned CharSet;
    bool operator==(const TWanted&) const = default;
  };
  TWanted WantedFor(unsigned index, const TDataValue& value) const;
  void Rebuild(const std::vector<TWanted>& wanted);

  TFbMetadata FDeclaredMetadata;
  std::vector<TSlot> FDeclared;
  TFbMetadata FBuiltMetadata;
  std::vector<TSlot> FBuilt;
  std::vector<TWanted> FBuiltWanted;
  std::vector<unsigned char> FBuffer;
};

}  // namespace fbclient
