// The clipboard with its stack, and the function codes clients run.
#include "service/ops.h"

namespace headless::detail {

int32_t PushClipboard(ClientState& c) {
  c.host->clipboardStack.push_back(c.host->clipboard);
  return 0;
}

int32_t PopClipboard(ClientState& c) {
  HostState& h = *c.host;
  if (h.clipboardStack.empty()) return -1;
  h.clipboard = std::move(h.clipboardStack.back());
  h.clipboardStack.pop_back();
  return 0;
}

int32_t Copy(ClientState& c, ObjectId doc, int32_t /*flags*/) {
  HostState& h = *c.host;
  Target t = h.resolve(doc);
  if (!t.isDocument()) return -1;
  TextSpan sel = t.doc()->selection();
  if (sel.begin.para == 0 || sel.begin == sel.end) return -1;
  Clip clip = CopyText(*t.doc(), sel.begin, sel.end);
  if (clip.empty()) return -1;
  h.clipboard = std::move(clip);
  return 0;
}

int32_t Paste(ClientState& c, ObjectId doc, int32_t /*flags*/) {
  HostState& h = *c.host;
  Target t = h.resolve(doc);
  if (!t.isDocument() || h.clipboard.empty()) return -1;
  Document& d = *t.doc();
  TextSpan sel = d.selection();
  if (sel.begin.para == 0 || !d.ordered(sel.begin, sel.end)) return -1;
  // A paste replaces what is selected.
  if (!(sel.begin == sel.end)) d.deleteRange(sel.begin, sel.end);
  TextPos end = PasteText(d, sel.begin, h.clipboard);
  d.setSelection({end, end});
  return 0;
}

int32_t Fcodes(ClientState& c, int32_t count, const int32_t* codes) {
  if (!codes || count < 0) return -1;
  // The codes the clients run are the application's own business; the host
  // records them.
  c.host->fcodes.insert(c.host->fcodes.end(), codes, codes + count);
  return 0;
}

}  // namespace headless::detail
