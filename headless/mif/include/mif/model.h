// The host's model of MIF files: a document or book file read into the
// in-memory model (keeping the file's statements with it), and written
// back with only what changed re-emitted.
//
// Reading maps catalogs (colours, condition tags, paragraph and character
// formats, marker types), the Document statement (show-all), text frames
// of the pages (columns, balancing, chains), flows, footnotes, tables and
// paragraphs with their inline content into the model; every model object
// carries the statement it came from as its origin. Hidden conditional
// text is read back where it belongs. The marker list is in reading order:
// the main flow, then the other flows in file order, with the markers of a
// footnote or table (row by row, cell by cell) at the place of its anchor.
//
// Writing copies every statement the model did not change; changed objects
// are re-emitted in the application's layout: new paragraphs and markers
// take a Unique from DNextUnique (which advances), new IDs lie above the
// largest of the file, every new or re-emitted paragraph names its format.
// Integer properties of a paragraph format that no MIF statement states
// are kept in a comment in the head of its Pgf.
#ifndef VELTRANO_MIF_MODEL_H
#define VELTRANO_MIF_MODEL_H

#include <memory>
#include <string>

#include "headless/book.h"
#include "headless/document.h"
#include "mif/document.h"
#include "mif/file_store.h"
#include "mif/made_paragraphs.h"

namespace mif {

// A document file into the model. The model keeps the file as its
// extension; all marks of change are cleared.
Result<std::unique_ptr<headless::Document>> ReadModelDocument(Document file);
// A book file into the model.
Result<std::unique_ptr<headless::Book>> ReadModelBook(Document file);

// The MIF text of a model document or book: its file brought up to date
// with it (a document made without a file gets a new one).
Result<std::string> WriteModelDocument(const headless::Document& doc);
Result<std::string> WriteModelBook(const headless::Book& book);
// The same with `made` written right after the statement of its paragraph
// (which must be in the model and in a top-level flow).
Result<std::string> WriteModelDocument(const headless::Document& doc, const MadeParagraphs& made);

// The same, written beside `path` ready to replace it (PrepareMifFile).
Result<PendingSave> PrepareModelDocument(const headless::Document& doc, const std::string& path);
Result<PendingSave> PrepareModelBook(const headless::Book& book, const std::string& path);

// The same, written atomically to `path` (nothing is written on error).
Status SaveModelDocument(const headless::Document& doc, const std::string& path);
Status SaveModelBook(const headless::Book& book, const std::string& path);

}  // namespace mif

#endif
