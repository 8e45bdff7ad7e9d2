// Object specifiers and their text: the specifier record and the words of
// the program's scripting terminology, and a parser of specifier texts such
// as `value of cell B2 of layer 1 of document "Budget"`.
//
// An object specifier is a record of type kTypeObjectSpecifier with the keys
// "want" (the class, type "type"), "from" (the container: another specifier,
// or a null descriptor for the application), "form" (the key form, type
// "enum") and "seld" (the key data: a long index counting from 1, negative
// from the end; a text name, in Mac Roman ("TEXT") when that spells it whole,
// else in UTF-8 ("utf8"); a property code of type "type").
//
// Text grammar (words are case-insensitive):
//   specifier := property "of" specifier | property | element ["of" specifier]
//   element   := class-word (integer | "-"integer | quoted-text | reference | test)
//   test      := "whose" property-word operator (number | quoted-text)
//   operator  := "=" | ">" | ">=" | "<" | "<=" | "contains"
//   property  := property-word
// where a reference is a bare word such as B2 or A1:C4 (cells and ranges only)
// and a quoted text may hold \" and \\.
#pragma once

#include <string>
#include <string_view>

#include "platform/appleevents/appleevents.h"

namespace pf {

constexpr FourCC kTypeObjectSpecifier = four_cc("obj ");
constexpr FourCC kKeyDesiredClass = four_cc("want");
constexpr FourCC kKeyContainer = four_cc("from");
constexpr FourCC kKeyForm = four_cc("form");
constexpr FourCC kKeyData = four_cc("seld");
constexpr FourCC kKeyClass = four_cc("kocl");     // count and create: the class
constexpr FourCC kKeyInsertHere = four_cc("insh");  // create: the container
constexpr FourCC kKeyNewData = four_cc("data");     // set: the new value

constexpr FourCC kFormIndex = four_cc("indx");
constexpr FourCC kFormName = four_cc("name");
constexpr FourCC kFormProperty = four_cc("prop");
constexpr FourCC kFormTest = four_cc("test");

// A test ("whose"): a comparison record of kTypeComparison with the operator
// ("relo", type "enum"), the examined property ("obj1": a property specifier
// whose container is a descriptor of type kTypeExamined) and the value it is
// compared with ("obj2").
constexpr FourCC kTypeComparison = four_cc("cmpd");
constexpr FourCC kTypeExamined = four_cc("exmn");
constexpr FourCC kKeyOperator = four_cc("relo");
constexpr FourCC kKeyObject1 = four_cc("obj1");
constexpr FourCC kKeyObject2 = four_cc("obj2");
constexpr FourCC kOpEquals = four_cc("=   ");
constexpr FourCC kOpGreater = four_cc(">   ");
constexpr FourCC kOpGreaterOrEqual = four_cc(">=  ");
constexpr FourCC kOpLess = four_cc("<   ");
constexpr FourCC kOpLessOrEqual = four_cc("<=  ");
constexpr FourCC kOpContains = four_cc("cont");

constexpr FourCC kClassApplication = four_cc("capp");
constexpr FourCC kClassDocument = four_cc("docu");
constexpr FourCC kClassWindow = four_cc("cwin");
constexpr FourCC kClassLayer = four_cc("layr");
constexpr FourCC kClassCell = four_cc("ccel");
constexpr FourCC kClassRange = four_cc("crng");
constexpr FourCC kClassProperty = four_cc("prop");

constexpr FourCC kPropValue = four_cc("valu");
constexpr FourCC kPropFormula = four_cc("pfor");
constexpr FourCC kPropName = four_cc("pnam");
constexpr FourCC kPropSelection = four_cc("sele");

// Parses a specifier text into `out`; false with a message in `error` when the
// text is not one (nesting is limited to kMaxObjectTextDepth levels).
constexpr int kMaxObjectTextDepth = 16;
bool parse_object_text(std::string_view text, AEDesc& out, std::string& error);
// The class code of a class word, singular or plural ("layers"); 0 when none.
FourCC object_class_code(std::string_view word);

}  // namespace pf
