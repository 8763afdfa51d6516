// The advanced form loader: writes the tables of one advanced form file into the working database.
#pragma once

#include <string>

#include "formimport/DBLoadCut.h"

// An advanced form file as the loader reads it once for all databases: the publish code that the
// first pass reads, and the whole text, checked and cut into the tables and rows that every database
// receives.
struct TAdvancedForm {
  std::string FileName;
  std::string PublishCode;
  // The message for a file that the second pass cannot open; there is no text then.
  std::string OpenError;
  TCutForm Text;
};

// Reads a form before anything is written. The first pass's errors (those of the XML reader, and a
// file it cannot open) are not caught. The text of a form whose publish code is "L" is not read; any
// other is read whole and cut, and a damaged one raises EXMLInputError, naming the file and the line
// where it ends (see TCutForm).
TAdvancedForm ReadAdvancedForm(const std::string& fileName);

// Imports a form that ReadAdvancedForm read into the database that dmData->dbDataBase has open
// (connected, no transaction active). A form of the local publisher is refused with a message and
// gives -1: its publish code as the first pass reads it is "L", or a row of one of its advform tables
// would store "L" as its publish code in this database (the code cut from the row as the row is
// written, decoded, cut to its column and unescaped; trailing blanks count for nothing, as the
// database compares text). Otherwise every table is written in a transaction of its own, every row by
// primary key, and the result is the number of rows posted (0 when the file could not be opened, with
// a message). A table with refused rows is told of in one line on standard error, which names the
// database by databaseEntry, the table, how many of its rows were refused and why the first was.
// Errors of the database other than a refused row, and of conversions, are not caught: the current
// table's transaction then stays open.
int ImportAdvancedForm(const TAdvancedForm& form, const std::string& databaseEntry);
// Reads and imports a form for one database.
int ImportAdvancedForm(const std::string& fileName);

// The first pass alone: the text of the first "publishcode" element in the first row of the root's
// "advform" element; empty when there is none.
std::string ReadPublishCode(const std::string& fileName);

// The second pass alone, with no refusal: reads the whole file, cuts it into tables, rows and values
// and writes them.
int ImportFormTables(const std::string& fileName);
