#include <gtest/gtest.h>

#include <cmath>

#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestDatabase.h"

namespace {

const char* const kRowSchema =
    "CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(20) NOT NULL, b INTEGER, c BLOB SUB_TYPE 0, "
    "d BLOB SUB_TYPE 1);"
    "INSERT INTO t (k, a, b) VALUES (1, 'one', 10)";

class QueryTest : public ::testing::Test {
 protected:
  // The database file is made in folder, or in a temporary folder of its own.
  void Connect(const std::string& schema, const std::string& folder = "") {
    fixture = folder.empty() ? std::make_unique<TestDatabase>(schema)
                             : std::make_unique<TestDatabase>(schema, folder);
    database = std::make_unique<TDatabase>(nullptr);
    database->SetDatabaseName("dbDataBase");
    database->Params().Assign(fixture->Params());
    database->Open();
  }
  // A query on "dbDatabase", which differs from the connection's name in letter case only.
  std::unique_ptr<TQuery> NewQuery(const TStringList& sql, bool live = false) {
    auto query = std::make_unique<TQuery>(nullptr);
    query->SetDatabaseName("dbDatabase");
    query->SetSQL(sql);
    query->SetRequestLive(live);
    return query;
  }
  // The row query as the loader builds it for t.
  std::unique_ptr<TQuery> RowQuery() {
    return NewQuery({"SELECT k , a , b ", "FROM t WHERE", "k = :param0"}, true);
  }

  std::unique_ptr<TestDatabase> fixture;
  std::unique_ptr<TDatabase> database;
};

std::string AllHighBytes() {
  std::string bytes;
  for (int c = 0x80; c <= 0xFF; ++c) bytes += static_cast<char>(c);
  return bytes;
}

std::string PatternBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

TEST_F(QueryTest, TheLoadersRowQueryUpdatesAStoredRowAndAppendsAMissingOne) {
  Connect(kRowSchema);
  auto query = RowQuery();
  query->Prepare();
  ASSERT_EQ(query->ParamCount(), 1);

  query->Params()[0].SetAsInteger(1);
  query->Open();
  query->First();
  ASSERT_FALSE(query->Eof());
  EXPECT_EQ(query->FieldCount(), 3);
  EXPECT_EQ(query->Fields()[1].AsString(), "one");
  query->Edit();
  EXPECT_EQ(query->State(), dsEdit);
  query->Fields()[1].SetAsString("uno");
  query->Fields()[2].Clear();
  query->Post();
  EXPECT_EQ(query->State(), dsBrowse);
  query->Close();

  query->Params()[0].SetAsInteger(2);
  query->Open();
  EXPECT_TRUE(query->Eof());
  query->Append();
  EXPECT_EQ(query->State(), dsInsert);
  query->Fields()[0].SetAsInteger(2);
  query->Fields()[1].SetAsString("two");
  query->Post();
  query->Close();

  EXPECT_EQ(fixture->Rows("SELECT k, a, b, c FROM t ORDER BY k"),
            (TestDatabase::TRows{{"1", "uno", TestDatabase::Null, TestDatabase::Null},
                                 {"2", "two", TestDatabase::Null, TestDatabase::Null}}));
}

TEST_F(QueryTest, AKeyViolationIsAnEngineErrorAndTheRowStaysInInsertStateUntilCancel) {
  Connect(kRowSchema);
  database->StartTransaction();
  auto query = RowQuery();
  query->Params()[0].SetAsInteger(5);
  query->Open();
  ASSERT_TRUE(query->Eof());
  query->Append();
  query->Fields()[0].SetAsInteger(1);  // already stored
  query->Fields()[1].SetAsString("clash");
  try {
    query->Post();
    FAIL() << "a duplicate key was posted";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.Message().rfind("violation of PRIMARY or UNIQUE KEY constraint \"INTEG_", 0), 0u)
        << e.Message();
    // The server's codes come with it (unique_key_violation, idx_key_value): a refused row, not a
    // failing database.
    EXPECT_EQ(e.ErrorCodes(), (std::vector<long>{335544665, 335545072}));
    EXPECT_EQ(e.SqlCode(), -803);
    EXPECT_TRUE(e.IsRowRefusal());
    EXPECT_NE(e.Message().find("on table \"T\"\n-Problematic key value is (\"K\" = 1)"), std::string::npos)
        << e.Message();
  }
  EXPECT_EQ(query->State(), dsInsert);
  EXPECT_EQ(query->Fields()[1].AsString(), "clash");
  query->Cancel();
  EXPECT_EQ(query->State(), dsBrowse);
  query->Close();

  // The transaction goes on: a later row of the same table is written and committed.
  query->Params()[0].SetAsInteger(3);
  query->Open();
  query->Append();
  query->Fields()[0].SetAsInteger(3);
  query->Fields()[1].SetAsString("three");
  query->Post();
  query->Close();
  database->Commit();
  EXPECT_EQ(fixture->Rows("SELECT k, a FROM t ORDER BY k"),
            (TestDatabase::TRows{{"1", "one"}, {"3", "three"}}));
}

TEST_F(QueryTest, AWriteThatTheDatabaseFileCannotTakeIsADatabaseFailure) {
  TSmallDisk disk("4m");
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  Connect("CREATE TABLE big (k INTEGER NOT NULL PRIMARY KEY, v VARCHAR(8000))", disk.Path());
  auto query = NewQuery({"INSERT INTO big (k, v) VALUES (:k, :v)"});
  std::string value(8000, ' ');
  try {
    for (int k = 1; k <= 1000; ++k) {
      // Text that does not compress.
      for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>('a' + (k + i * 5) % 26);
      query->ParamByName("k").SetAsInteger(k);
      query->ParamByName("v").SetAsString(value);
      query->ExecSQL();
    }
    FAIL() << "8 MB went onto a 4 MB disk";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(
        e.Message().rfind("I/O error during \"write\" operation for file \"" + fixture->Path() + "\"", 0), 0u)
        << e.Message();
    EXPECT_EQ(e.ErrorCodes(), (std::vector<long>{335544344, 335544737}));  // io_error, io_write_err
    EXPECT_EQ(e.SqlCode(), -902);
    EXPECT_FALSE(e.IsRowRefusal());
  }
}

TEST_F(QueryTest, AFailedUpdateStaysInEditStateAndCancelRestoresTheRowAsRead) {
  Connect(kRowSchema);
  auto query = RowQuery();
  query->Params()[0].SetAsInteger(1);
  query->Open();
  query->Edit();
  query->Fields()[1].Clear();  // a is NOT NULL
  EXPECT_THROW(query->Post(), EDBEngineError);
  EXPECT_EQ(query->State(), dsEdit);
  EXPECT_TRUE(query->Fields()[1].IsNull());
  query->Cancel();
  EXPECT_EQ(query->State(), dsBrowse);
  EXPECT_EQ(query->Fields()[1].AsString(), "one");
  EXPECT_EQ(fixture->Value("SELECT a FROM t WHERE k = 1"), "one");
}

TEST_F(QueryTest, AnUpdateOfARowThatAnotherUserDeletedIsAnEngineErrorThatCancelUndoes) {
  Connect(kRowSchema);
  database->StartTransaction();
  auto query = RowQuery();
  query->Params()[0].SetAsInteger(1);
  query->Open();
  ASSERT_FALSE(query->Eof());
  fixture->Execute("DELETE FROM t WHERE k = 1");
  query->Edit();
  query->Fields()[1].SetAsString("gone");
  try {
    query->Post();
    FAIL() << "an update of a deleted row was posted";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.Message(), "The row to update was not found: another user deleted it or changed its key");
    EXPECT_TRUE(e.ErrorCodes().empty());
    EXPECT_EQ(e.SqlCode(), 0);
    EXPECT_TRUE(e.IsRowRefusal());
  }
  EXPECT_EQ(query->State(), dsEdit);
  query->Cancel();
  EXPECT_EQ(query->Fields()[1].AsString(), "one");
  query->Close();
  database->Commit();
  EXPECT_EQ(fixture->Value("SELECT COUNT(*) FROM t"), "0");
}

TEST_F(QueryTest, AnExplicitNullKeyMatchesNoRowAndAnUnsetParameterIsRefused) {
  Connect(kRowSchema +
          std::string(";CREATE TABLE n (k VARCHAR(5), v INTEGER);INSERT INTO n VALUES (NULL, 1)"));
  auto query = NewQuery({"SELECT v FROM n WHERE k = :param0"});
  try {
    query->Open();
    FAIL() << "a query ran without a value for its parameter";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "No value for parameter 'param0'");
  }
  query->Params()[0].Clear();
  EXPECT_THROW(query->Open(), EDatabaseError);  // cleared but not bound
  query->Params()[0].SetBound(true);
  query->Open();
  EXPECT_TRUE(query->Eof());
  EXPECT_TRUE(query->IsEmpty());
  EXPECT_TRUE(query->Fields()[0].IsNull());
}

TEST_F(QueryTest, ParametersAreFoundByNameWithoutRegardToCaseAndKeepTheirValuesAcrossSQLChanges) {
  Connect(kRowSchema);
  auto query = NewQuery({"INSERT INTO t (k, a) VALUES (:IconKey, :IconBlob)"});
  EXPECT_EQ(query->ParamCount(), 2);
  query->ParamByName("ICONKEY").SetAsInteger(4);
  query->ParamByName("iconblob").SetAsString("four");
  EXPECT_EQ(query->Params()[0].Name(), "IconKey");
  try {
    query->ParamByName("missing");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Parameter 'missing' not found");
  }
  query->ExecSQL();
  EXPECT_EQ(query->RowsAffected(), 1);

  // Same names, new statement: the values stay; a name used twice is one parameter.
  query->SQL().Clear();
  query->SQL().Add("UPDATE t SET a = :ICONBLOB || :iconblob WHERE k = :iconkey");
  ASSERT_EQ(query->ParamCount(), 2);
  EXPECT_EQ(query->ParamByName("IconBlob").AsString(), "four");
  query->ExecSQL();
  EXPECT_EQ(fixture->Value("SELECT a FROM t WHERE k = 4"), "fourfour");

  // A text parameter carries as many characters as the statement declares it, the fewest where it is
  // used twice; a number has no such length.
  query->SQL().Clear();
  query->SQL().Add("SELECT k FROM t WHERE a = :IconBlob AND k = :iconkey AND 'abcd' = :ICONBLOB");
  EXPECT_EQ(query->ParamSize("iconblob"), 4);
  EXPECT_EQ(query->ParamSize("IconKey"), 0);
  EXPECT_THROW(query->ParamSize("missing"), EDatabaseError);
  query->SQL().Clear();
  query->SQL().Add("SELECT k FROM t WHERE a = :IconBlob");
  EXPECT_EQ(query->ParamSize("IconBlob"), 20);
}

TEST_F(QueryTest, LiteralsThatLookLikeParametersReachTheServerUnchanged) {
  Connect(kRowSchema);
  auto query = NewQuery({"SELECT ':k' , \":k\" , a FROM t WHERE k = :k -- :comment", "/* :gone */"});
  EXPECT_EQ(query->ParamCount(), 1);
  query->ParamByName("k").SetAsInteger(1);
  query->Open();
  EXPECT_EQ(query->Fields()[0].AsString(), ":k");
  EXPECT_EQ(query->Fields()[1].AsString(), ":k");
  EXPECT_EQ(query->Fields()[2].AsString(), "one");
}

TEST_F(QueryTest, A200KiBBlobRoundTripsThroughParametersAndFields) {
  Connect(kRowSchema);
  const std::string bytes = PatternBytes(200 * 1024);
  auto insert = NewQuery({"INSERT INTO t (k, a, c) VALUES (:k, 'blob', :c)"});
  insert->ParamByName("k").SetAsInteger(2);
  insert->ParamByName("c").SetAsBlob(bytes);
  insert->ExecSQL();
  EXPECT_EQ(fixture->Value("SELECT c FROM t WHERE k = 2"), bytes);

  // The loader's long-column query: the key is not in its select list.
  auto longColumn = NewQuery({"SELECT c", "FROM t WHERE", "k = :param0"}, true);
  longColumn->Params()[0].SetAsInteger(2);
  longColumn->Open();
  ASSERT_FALSE(longColumn->Eof());
  EXPECT_EQ(longColumn->Fields()[0].DataType(), ftBlob);
  EXPECT_EQ(longColumn->Fields()[0].AsBlob(), bytes);
  std::string reversed(bytes.rbegin(), bytes.rend());
  longColumn->Edit();
  longColumn->Fields()[0].SetAsString(reversed);
  longColumn->Post();
  longColumn->Close();
  EXPECT_EQ(fixture->Value("SELECT c FROM t WHERE k = 2"), reversed);
}

TEST_F(QueryTest, BytesAbove127ReachTextAndBlobColumnsUnchanged) {
  Connect(
      "CREATE TABLE h (k INTEGER NOT NULL PRIMARY KEY, c CHAR(128), v VARCHAR(128), b BLOB SUB_TYPE 1, "
      "w VARCHAR(128) CHARACTER SET WIN1252, x BLOB SUB_TYPE 0)");
  const std::string high = AllHighBytes();
  auto query = NewQuery({"SELECT k , c , v , b , w , x FROM h WHERE k = :k"}, true);
  query->ParamByName("k").SetAsInteger(1);
  query->Open();
  query->Append();
  query->Fields()[0].SetAsInteger(1);
  for (int i = 1; i < 6; ++i) query->Fields()[i].SetAsString(high);
  query->Post();
  query->Close();

  EXPECT_EQ(fixture->Rows("SELECT c, v, b, w, x FROM h"),
            (TestDatabase::TRows{{high, high, high, high, high}}));
  query->Open();
  for (int i = 1; i < 6; ++i) {
    SCOPED_TRACE(query->Fields()[i].FieldName());
    EXPECT_EQ(query->Fields()[i].AsString(), high);
  }
  // Matched by parameter as well.
  auto lookup = NewQuery({"SELECT k FROM h WHERE v = :v AND w = :w"});
  lookup->ParamByName("v").SetAsString(high);
  lookup->ParamByName("w").SetAsString(high);
  lookup->Open();
  EXPECT_FALSE(lookup->Eof());
}

TEST_F(QueryTest, ADialect1DateKeepsItsTimeOfDayExactly) {
  Connect("CREATE TABLE d (k INTEGER NOT NULL PRIMARY KEY, w DATE)");
  struct TCase {
    TDateTime Value;
    const char* Stored;
  };
  const TCase cases[] = {
      {EncodeDateTime(2024, 2, 29, 13, 14, 15, 678), "2024-02-29 13:14:15.678"},
      {EncodeDate(1900, 1, 1), "1900-01-01"},
      {0, "1899-12-30"},
      {-1.25, "1899-12-29 06:00:00"},
      {EncodeDateTime(1, 1, 1, 0, 0, 0, 1), "0001-01-01 00:00:00.001"},
      {EncodeDateTime(9999, 12, 31, 23, 59, 59, 999), "9999-12-31 23:59:59.999"},
  };
  auto insert = NewQuery({"INSERT INTO d (k, w) VALUES (:k, :w)"});
  auto read = NewQuery({"SELECT w FROM d WHERE k = :k"});
  int key = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Stored);
    insert->ParamByName("k").SetAsInteger(++key);
    insert->ParamByName("w").SetAsDateTime(c.Value);
    insert->ExecSQL();
    EXPECT_EQ(fixture->Value("SELECT w FROM d WHERE k = " + std::to_string(key)), c.Stored);
    read->ParamByName("k").SetAsInteger(key);
    read->Open();
    EXPECT_EQ(read->Fields()[0].DataType(), ftDateTime);
    EXPECT_EQ(read->Fields()[0].AsDateTime(), c.Value);
    read->Close();
  }
}

TEST_F(QueryTest, AnUpdateWritesOnlyTheFieldsThatChanged) {
  Connect(kRowSchema);
  database->StartTransaction();
  auto query = RowQuery();
  query->Params()[0].SetAsInteger(1);
  query->Open();
  // Another connection changes b after the row was read.
  fixture->Execute("UPDATE t SET b = 99 WHERE k = 1");
  query->Edit();
  query->Fields()[1].SetAsString("changed");
  query->Fields()[2].SetAsInteger(10);  // set to the value it was read with: not a change
  query->Post();
  query->Close();
  database->Commit();
  EXPECT_EQ(fixture->Rows("SELECT a, b FROM t WHERE k = 1"), (TestDatabase::TRows{{"changed", "99"}}));
}

TEST_F(QueryTest, AnInsertWritesEveryColumnOfTheSelectListWithUnsetOnesAsNull) {
  Connect(
      "CREATE TABLE v (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(5) DEFAULT 'dflt', b INTEGER DEFAULT 7, "
      "z INTEGER DEFAULT 8)");
  auto query = NewQuery({"SELECT k , a , b FROM v WHERE k = :k"}, true);
  query->ParamByName("k").SetAsInteger(1);
  query->Open();
  query->Append();
  query->Fields()[0].SetAsInteger(1);
  query->Post();
  EXPECT_EQ(fixture->Rows("SELECT k, a, b, z FROM v"),
            (TestDatabase::TRows{{"1", TestDatabase::Null, TestDatabase::Null, "8"}}));
}

TEST_F(QueryTest, ReadOnlyQueriesAndFieldsRefuseWrites) {
  Connect(kRowSchema + std::string(";CREATE TABLE u (k INTEGER NOT NULL PRIMARY KEY)"));
  struct TCase {
    const char* Name;
    std::function<void()> Call;
    const char* Message;
  };
  auto plain = NewQuery({"SELECT k, a FROM t"});
  auto live = NewQuery({"SELECT k, a, b + 1 AS bb FROM t WHERE k = 1"}, true);
  auto joined = NewQuery({"SELECT t.k FROM t JOIN u ON u.k = t.k"}, true);
  const TCase cases[] = {
      {"Edit without RequestLive",
       [&] {
         plain->Open();
         plain->Edit();
       },
       "Cannot modify a read-only dataset"},
      {"a join",
       [&] {
         joined->Open();
         joined->Append();
       },
       "Cannot modify a read-only dataset"},
      {"a field outside edit mode",
       [&] {
         live->Open();
         live->Fields()[1].SetAsString("x");
       },
       "Dataset not in edit or insert mode"},
      {"an expression",
       [&] {
         live->Edit();
         live->FieldByName("BB").SetAsInteger(3);
       },
       "Field 'BB' cannot be modified"},
      {"a field of a closed query",
       [&] {
         plain->Close();
         plain->Fields()[0].AsInteger();
       },
       "Cannot perform this operation on a closed dataset"},
      {"a field name that is not there", [&] { live->FieldByName("nope"); }, "Field 'nope' not found"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      c.Call();
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
  EXPECT_TRUE(live->FieldByName("a").CanModify());
  EXPECT_FALSE(live->FieldByName("bb").CanModify());
}

TEST_F(QueryTest, AQueryOnAnUnknownDatabaseNameIsRefused) {
  Connect(kRowSchema);
  TQuery query(nullptr);
  query.SetDatabaseName("dbAuxiliary");
  query.SQL().Add("SELECT k FROM t");
  try {
    query.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Unknown database 'dbAuxiliary'");
  }
}

TEST_F(QueryTest, AnSQLErrorIsAnEngineErrorWithTheServersText) {
  Connect(kRowSchema);
  auto query = NewQuery({"SELECT k FROM NO_SUCH_TABLE"});
  try {
    query->Open();
    FAIL();
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(
        e.Message(),
        "Dynamic SQL Error\n-SQL error code = -204\n-Table unknown\n-NO_SUCH_TABLE\n-At line 1, column 15");
    // dsql_error, sqlerr, dsql_relation_err, random, dsql_line_col_error
    EXPECT_EQ(e.ErrorCodes(), (std::vector<long>{335544569, 335544436, 335544580, 335544382, 336397208}));
    EXPECT_EQ(e.SqlCode(), -204);
    EXPECT_TRUE(e.IsRowRefusal());
  }
  // A table without a primary key gives a key condition that ends with WHERE.
  auto noKey = NewQuery({"SELECT k , a ", "FROM t WHERE", ""}, true);
  EXPECT_THROW(noKey->Prepare(), EDBEngineError);
}

TEST_F(QueryTest, RowsAreReadInOrderAndFirstStartsOver) {
  Connect(
      "CREATE TABLE r (k INTEGER NOT NULL PRIMARY KEY);INSERT INTO r VALUES (1);INSERT INTO r VALUES (2);"
      "INSERT INTO r VALUES (3)");
  auto query = NewQuery({"SELECT k FROM r ORDER BY k"});
  query->Open();
  std::vector<int> keys;
  for (; !query->Eof(); query->Next()) keys.push_back(query->Fields()[0].AsInteger());
  EXPECT_EQ(keys, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(query->Fields()[0].AsInteger(), 3);  // the last row stays current at the end
  query->First();
  EXPECT_FALSE(query->Eof());
  EXPECT_EQ(query->Fields()[0].AsInteger(), 1);
  query->Next();
  EXPECT_EQ(query->Fields()[0].AsInteger(), 2);
}

TEST_F(QueryTest, ALiveSelectStarWritesBackByTheHiddenKey) {
  Connect(kRowSchema);
  auto query = NewQuery({"SELECT * FROM t WHERE k = :k"}, true);
  query->ParamByName("k").SetAsInteger(1);
  query->Open();
  EXPECT_EQ(query->FieldCount(), 5);
  query->Edit();
  query->FieldByName("D").SetAsString("memo");
  query->Post();
  EXPECT_EQ(fixture->Value("SELECT d FROM t WHERE k = 1"), "memo");
}

struct TConversionCase {
  const char* Name;
  std::function<void(TQuery&)> Call;
  const char* Message;  // nullptr: no error
};

TEST_F(QueryTest, FieldValuesConvertToTheColumnsType) {
  Connect(
      "CREATE TABLE f (k INTEGER NOT NULL PRIMARY KEY, s SMALLINT, i INTEGER, d DOUBLE PRECISION, "
      "t VARCHAR(10), n NUMERIC(15,2), p NUMERIC(9,2));"
      "INSERT INTO f VALUES (1, 2, 3, 4.5, '6', 7.25, 8.5)");
  auto query = NewQuery({"SELECT k, s, i, d, t, n, p FROM f WHERE k = 1"}, true);
  query->Open();
  EXPECT_EQ(query->FieldByName("s").DataType(), ftSmallint);
  EXPECT_EQ(query->FieldByName("i").DataType(), ftInteger);
  EXPECT_EQ(query->FieldByName("d").DataType(), ftFloat);
  EXPECT_EQ(query->FieldByName("n").DataType(), ftFloat);
  EXPECT_EQ(query->FieldByName("t").Size(), 10);
  EXPECT_EQ(query->FieldByName("d").AsString(), "4.5");
  EXPECT_EQ(query->FieldByName("n").AsFloat(), 7.25);
  EXPECT_EQ(query->FieldByName("t").AsInteger(), 6);
  EXPECT_EQ(query->FieldByName("i").AsFloat(), 3.0);
  // A scaled integer column reads as its exact digits.
  EXPECT_EQ(query->FieldByName("p").DataType(), ftBCD);
  EXPECT_EQ(query->FieldByName("p").AsString(), "8.50");
  EXPECT_EQ(query->FieldByName("p").AsFloat(), 8.5);
  query->Edit();
  const TConversionCase cases[] = {
      {"smallint out of range", [](TQuery& q) { q.FieldByName("s").SetAsInteger(40000); },
       "40000 is not a valid value for field 'S'. The allowed range is -32768 to 32767"},
      {"text that is no integer", [](TQuery& q) { q.FieldByName("i").SetAsString("12x"); },
       "'12x' is not a valid integer value"},
      {"text that is no float", [](TQuery& q) { q.FieldByName("d").SetAsString("1,5"); },
       "'1,5' is not a valid floating point value"},
      {"a date into an integer", [](TQuery& q) { q.FieldByName("i").SetAsDateTime(1); },
       "Cannot access field 'I' as type DateTime"},
      {"text into an integer", [](TQuery& q) { q.FieldByName("i").SetAsString(" 42 "); }, nullptr},
      {"a float into a smallint rounds", [](TQuery& q) { q.FieldByName("s").SetAsFloat(2.6); }, nullptr},
      {"an integer into a text", [](TQuery& q) { q.FieldByName("t").SetAsInteger(-5); }, nullptr},
      {"a float beyond an integer", [](TQuery& q) { q.FieldByName("i").SetAsFloat(3e9); },
       "3000000000 is not a valid value for field 'I'. The allowed range is -2147483648 to 2147483647"},
      {"an infinite float", [](TQuery& q) { q.FieldByName("d").SetAsFloat(HUGE_VAL); },
       "inf is not a valid value for field 'D'. The allowed range is -1.79769313486232e+308 to "
       "1.79769313486232e+308"},
      {"more than a scaled column's storage holds",
       [](TQuery& q) { q.FieldByName("p").SetAsInteger(30000000); },
       "30000000.00 is not a valid value for field 'P'. The allowed range is -21474836.48 to 21474836.47"},
      // Digit by digit, halves to even: as a binary fraction 1.015 is below the half.
      {"a decimal text into a scaled column", [](TQuery& q) { q.FieldByName("p").SetAsString("1.015"); },
       nullptr},
  };
  for (const TConversionCase& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      c.Call(*query);
      EXPECT_EQ(c.Message, nullptr);
    } catch (const Exception& e) {
      ASSERT_NE(c.Message, nullptr) << e.Message();
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
  query->Post();
  EXPECT_EQ(fixture->Rows("SELECT s, i, t, p FROM f"), (TestDatabase::TRows{{"3", "42", "-5", "1.02"}}));
}

}  // namespace

namespace {

TEST_F(QueryTest, ParametersThatChangeBetweenNullShortAndLongValuesKeepEachRowsValue) {
  Connect("CREATE TABLE p (k INTEGER NOT NULL PRIMARY KEY, v VARCHAR(300), n INTEGER)");
  auto insert = NewQuery({"INSERT INTO p (k, v, n) VALUES (:k, :v, :n)"});
  const std::string longText(300, 'L');
  struct TRowCase {
    const char* Text;  // nullptr: null
    int Number;        // -1: null
  };
  const TRowCase rows[] = {{"a", 1}, {nullptr, -1}, {"", 3}, {nullptr, 4}, {"bb", -1}};
  int key = 0;
  for (const TRowCase& row : rows) {
    insert->ParamByName("k").SetAsInteger(++key);
    if (row.Text) {
      insert->ParamByName("v").SetAsString(key == 3 ? longText : row.Text);
    } else {
      insert->ParamByName("v").Clear();
    }
    if (row.Number < 0) {
      insert->ParamByName("n").Clear();
    } else {
      insert->ParamByName("n").SetAsInteger(row.Number);
    }
    insert->ExecSQL();
  }
  const std::string null = TestDatabase::Null;
  EXPECT_EQ(
      fixture->Rows("SELECT k, v, n FROM p ORDER BY k"),
      (TestDatabase::TRows{
          {"1", "a", "1"}, {"2", null, null}, {"3", longText, "3"}, {"4", null, "4"}, {"5", "bb", null}}));
  // A text longer than its column reaches the server, which refuses it with its own message.
  insert->ParamByName("k").SetAsInteger(9);
  insert->ParamByName("v").SetAsString(longText + "x");
  try {
    insert->ExecSQL();
    FAIL() << "an over-long text was stored";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.Message(),
              "Dynamic SQL Error\n-SQL error code = -303\n-arithmetic exception, numeric overflow, or string "
              "truncation\n-string right truncation\n-expected length 300, actual 301");
  }
}

}  // namespace

namespace {

TEST_F(QueryTest, TheRowQueryFindsRowsByACompositeKeyOfEveryKeyTypeWhateverTheTablesLetterCase) {
  Connect(
      "CREATE TABLE dictcombo (code CHAR(5) NOT NULL, seq SMALLINT NOT NULL, ts DATE NOT NULL, "
      "x DOUBLE PRECISION NOT NULL, txt VARCHAR(10), PRIMARY KEY (code, seq, ts, x));"
      "INSERT INTO dictcombo VALUES ('AB', 2, '2024-02-29 13:14:15', 1.5, 'old')");
  database->StartTransaction();
  auto query = NewQuery({"SELECT code , seq , ts , x , txt ", "FROM DictCombo WHERE",
                         "code = :param0 AND seq = :param1 AND ts = :param2 AND x = :param3"},
                        true);
  query->Prepare();
  for (int pass = 0; pass < 2; ++pass) {
    query->Params()[0].SetAsString(pass ? "CD" : "AB");
    query->Params()[1].SetAsInteger(2);
    query->Params()[2].SetAsDateTime(EncodeDateTime(2024, 2, 29, 13, 14, 15, 0));
    query->Params()[3].SetAsFloat(1.5);
    query->Open();
    query->First();
    EXPECT_EQ(query->Eof(), pass == 1);
    if (query->Eof())
      query->Append();
    else
      query->Edit();
    query->Fields()[0].SetAsString(pass ? "CD" : "AB");
    query->Fields()[1].SetAsInteger(2);
    query->Fields()[2].SetAsDateTime(EncodeDateTime(2024, 2, 29, 13, 14, 15, 0));
    query->Fields()[3].SetAsFloat(1.5);
    query->Fields()[4].SetAsString(pass ? "new" : "upd");
    query->Post();
    query->Close();
  }
  database->Commit();
  EXPECT_EQ(fixture->Rows("SELECT code, txt FROM dictcombo ORDER BY code"),
            (TestDatabase::TRows{{"AB   ", "upd"}, {"CD   ", "new"}}));
}

}  // namespace
