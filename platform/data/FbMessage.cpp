#include "platform/data/FbMessage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Firebird;

namespace fbclient {

namespace {

// The longest text a VARCHAR slot carries; longer texts travel as blobs.
constexpr unsigned kMaxVaryingLength = 32765;

template <class T>
T Load(const unsigned char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <class T>
void Store(unsigned char* p, const T& value) {
  std::memcpy(p, &value, sizeof value);
}

unsigned FixedLength(unsigned type) {
  switch (type) {
    case SQL_INT64:
      return 8;
    case SQL_DOUBLE:
      return 8;
    case SQL_TIMESTAMP:
      return sizeof(ISC_TIMESTAMP);
    case SQL_BLOB:
      return sizeof(ISC_QUAD);
    case SQL_BOOLEAN:
      return 1;
    default:
      return 0;
  }
}

bool IsTextSlot(unsigned type) { return type == SQL_TEXT || type == SQL_VARYING; }

}  // namespace

std::vector<TSlot> DescribeSlots(IMessageMetadata* metadata) {
  TFbStatus status;
  const unsigned count = metadata->getCount(status.Get());
  status.Check();
  std::vector<TSlot> slots(count);
  for (unsigned i = 0; i < count; ++i) {
    TSlot& s = slots[i];
    s.Type = metadata->getType(status.Get(), i) & ~1u;
    s.SubType = metadata->getSubType(status.Get(), i);
    s.Length = metadata->getLength(status.Get(), i);
    s.Scale = metadata->getScale(status.Get(), i);
    s.CharSet = metadata->getCharSet(status.Get(), i);
    s.Offset = metadata->getOffset(status.Get(), i);
    s.NullOffset = metadata->getNullOffset(status.Get(), i);
    const char* field = metadata->getField(status.Get(), i);
    const char* relation = metadata->getRelation(status.Get(), i);
    const char* alias = metadata->getAlias(status.Get(), i);
    status.Check();
    s.Field = field ? field : "";
    s.Relation = relation ? relation : "";
    s.Alias = alias ? alias : "";
  }
  return slots;
}

TColumnType SlotColumnType(const TSlot& slot) {
  const auto integer = [&](TFieldType storage) {
    return slot.Scale < 0 ? TColumnType{ftBCD, storage, slot.Scale} : TColumnType{storage, ftUnknown, 0};
  };
  switch (slot.Type) {
    case SQL_TEXT:
    case SQL_VARYING:
      return {ftString};
    case SQL_SHORT:
      return integer(ftSmallint);
    case SQL_LONG:
      return integer(ftInteger);
    case SQL_INT64:
      return integer(ftLargeint);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return {ftFloat};
    case SQL_TIMESTAMP:
      return {ftDateTime};
    case SQL_TYPE_DATE:
      return {ftDate};
    case SQL_TYPE_TIME:
      return {ftTime};
    case SQL_BLOB:
      return {slot.SubType == 1 ? ftMemo : ftBlob};
    case SQL_BOOLEAN:
      return {ftBoolean};
    default:
      return {ftUnknown};
  }
}

TDataValue DecodeSlot(const TSlot& slot, const unsigned char* buffer, ISC_QUAD* blobId) {
  TDataValue value;
  value.Type = SlotColumnType(slot).Type;
  if (Load<short>(buffer + slot.NullOffset) != 0) return value;
  if (value.Type == ftBCD) value.Scale = slot.Scale;
  const unsigned char* data = buffer + slot.Offset;
  value.Null = false;
  switch (slot.Type) {
    case SQL_TEXT:
      value.Bytes.assign(reinterpret_cast<const char*>(data), slot.Length);
      break;
    case SQL_VARYING: {
      const unsigned length = std::min<unsigned>(Load<uint16_t>(data), slot.Length);
      value.Bytes.assign(reinterpret_cast<const char*>(data + 2), length);
      break;
    }
    case SQL_SHORT:
      value.Integer = Load<int16_t>(data);  // units of 10^Scale when scaled
      break;
    case SQL_LONG:
      value.Integer = Load<int32_t>(data);  // units of 10^Scale when scaled
      break;
    case SQL_INT64:
      value.Integer = Load<int64_t>(data);  // units of 10^Scale when scaled
      break;
    case SQL_FLOAT:
      value.Float = Load<float>(data);
      break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      value.Float = Load<double>(data);
      break;
    case SQL_TIMESTAMP:
      value.Float = TimestampToDateTime(Load<ISC_TIMESTAMP>(data));
      break;
    case SQL_TYPE_DATE: {
      ISC_TIMESTAMP ts{Load<ISC_DATE>(data), 0};
      value.Float = TimestampToDateTime(ts);
      break;
    }
    case SQL_TYPE_TIME: {
      ISC_TIMESTAMP ts{DateTimeToTimestamp(0).timestamp_date, Load<ISC_TIME>(data)};
      value.Float = TimestampToDateTime(ts);
      break;
    }
    case SQL_BLOB:
      if (blobId) *blobId = Load<ISC_QUAD>(data);
      break;
    case SQL_BOOLEAN:
      value.Integer = *data ? 1 : 0;
      break;
    default:
      value.Null = true;
      break;  // arrays and other types the programs never read
  }
  return value;
}

TInputMessage::TInputMessage(TFbMetadata declared) : FDeclaredMetadata(std::move(declared)) {
  if (FDeclaredMetadata) FDeclared = DescribeSlots(FDeclaredMetadata.Get());
}

TInputMessage::TWanted TInputMessage::WantedFor(unsigned index, const TDataValue& value) const {
  const TSlot& declared = FDeclared[index];
  // Any slot carries a null: keep the last message's, so that a column that is null in some rows
  // does not make the message be built anew for each of them.
  if (value.Null) {
    if (index < FBuiltWanted.size()) return FBuiltWanted[index];
    return {declared.Type, declared.SubType, declared.Length, declared.Scale, declared.CharSet};
  }
  if (value.Type == ftBoolean && declared.Type == SQL_BOOLEAN) return {SQL_BOOLEAN, 0, 1, 0, 0};
  if (IsIntegerType(value.Type)) return {SQL_INT64, 0, 8, 0, 0};
  // Exactly: the units at the value's scale, which the server brings to the column's.
  if (value.Type == ftBCD) return {SQL_INT64, 0, 8, value.Scale, 0};
  if (value.Type == ftFloat) return {SQL_DOUBLE, 0, 8, 0, 0};
  if (IsDateTimeType(value.Type)) return {SQL_TIMESTAMP, 0, sizeof(ISC_TIMESTAMP), 0, 0};
  // Texts and blob bytes.
  const unsigned length = static_cast<unsigned>(std::min<size_t>(value.Bytes.size(), 0xFFFFFFFFu));
  if (declared.Type == SQL_BLOB) return {SQL_BLOB, declared.SubType, sizeof(ISC_QUAD), 0, declared.CharSet};
  const unsigned charSet = IsTextSlot(declared.Type) ? declared.CharSet : 0;
  if (length > kMaxVaryingLength)
    return {SQL_BLOB, value.Type == ftBlob ? 0 : 1, sizeof(ISC_QUAD), 0, charSet};
  // Keep the slot of the last message when the text fits, so that a run of rows builds it once.
  if (index < FBuiltWanted.size()) {
    const TWanted& last = FBuiltWanted[index];
    if (last.Type == SQL_VARYING && last.CharSet == charSet && last.Length >= length) return last;
  }
  const unsigned base = IsTextSlot(declared.Type) ? declared.Length : 0;
  return {SQL_VARYING, 0, std::max({length, base, 1u}), 0, charSet};
}

void TInputMessage::Rebuild(const std::vector<TWanted>& wanted) {
  TFbStatus status;
  TFbMetadataBuilder builder(FDeclaredMetadata->getBuilder(status.Get()));
  status.Check();
  for (unsigned i = 0; i < wanted.size(); ++i) {
    const TWanted& w = wanted[i];
    // The odd type code marks the slot nullable, so that a null can be sent in any of them.
    builder->setType(status.Get(), i, w.Type | 1u);
    status.Check();
    builder->setLength(status.Get(), i, FixedLength(w.Type) ? FixedLength(w.Type) : w.Length);
    status.Check();
    builder->setSubType(status.Get(), i, w.SubType);
    status.Check();
    builder->setCharSet(status.Get(), i, w.CharSet);
    status.Check();
    builder->setScale(status.Get(), i, w.Scale);
    status.Check();
  }
  TFbMetadata built(builder->getMetadata(status.Get()));
  status.Check();
  const unsigned size = built->getMessageLength(status.Get());
  status.Check();
  FBuilt = DescribeSlots(built.Get());
  FBuiltMetadata = std::move(built);
  FBuiltWanted = wanted;
  FBuffer.assign(size, 0);
}

void TInputMessage::Fill(const std::vector<const TDataValue*>& values, IAttachment* attachment,
                         ITransaction* transaction) {
  if (FDeclared.empty()) return;
  std::vector<TWanted> wanted;
  wanted.reserve(FDeclared.size());
  for (unsigned i = 0; i < FDeclared.size(); ++i) wanted.push_back(WantedFor(i, *values[i]));
  if (!FBuiltMetadata || wanted != FBuiltWanted) Rebuild(wanted);
  for (unsigned i = 0; i < FBuilt.size(); ++i) {
    const TSlot& slot = FBuilt[i];
    const TDataValue& value = *values[i];
    unsigned char* data = FBuffer.data() + slot.Offset;
    Store<short>(FBuffer.data() + slot.NullOffset, value.Null ? -1 : 0);
    if (value.Null) continue;
    switch (slot.Type) {
      case SQL_BOOLEAN:
        *data = value.Integer ? 1 : 0;
        break;
      case SQL_INT64:
        Store<int64_t>(data, value.Integer);
        break;
      case SQL_DOUBLE:
        Store<double>(data, value.Float);
        break;
      case SQL_TIMESTAMP:
        Store<ISC_TIMESTAMP>(data, DateTimeToTimestamp(value.Float));
        break;
      case SQL_VARYING:
        Store<uint16_t>(data, static_cast<uint16_t>(value.Bytes.size()));
        std::memcpy(data + 2, value.Bytes.data(), value.Bytes.size());
        break;
      case SQL_BLOB:
        Store<ISC_QUAD>(data, WriteBlob(attachment, transaction, value.Bytes));
        break;
      default:
        break;
    }
  }
}

}  // namespace fbclient
