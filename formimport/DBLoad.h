// The advanced form loader: writes the tables of one advanced form file into the working database.
#pragma once

#include <string>

// Imports the file into the database that dmData->dbDataBase has open (connected, no transaction
// active). The first pass reads the form's publish code: a form of the local publisher ("L") is
// refused with a message and gives -1. The second pass writes every table of the file in a
// transaction of its own, every row by primary key, and gives the number of rows posted (0 when it
// cannot open the file, with a message). Errors of the XML reader, of the database other than a
// refused row, and of conversions are not caught: the current table's transaction then stays open.
int ImportAdvancedForm(const std::string& fileName);

// The first pass alone: the text of the first "publishcode" element in the first row of the root's
// "advform" element; empty when there is none.
std::string ReadPublishCode(const std::string& fileName);

// The second pass alone: reads the whole file, cuts it into tables, rows and values and writes them.
int ImportFormTables(const std::string& fileName);
