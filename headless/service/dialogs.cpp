// Dialogs, answered by the scripted user. A dialog with no answer left goes
// to the host's user when there is one; one with no answer at all, or whose
// answer is of another kind, is cancelled: the safe default.
#include "service/ops.h"

namespace headless::detail {

namespace {

// Takes the next answer; when none is left, the user's, or a cancel.
Answer NextAnswer(HostState& h, const DialogRecord& rec) {
  if (h.answers.empty()) return h.user ? h.user->ask(rec) : Answer::Cancel();
  Answer a = std::move(h.answers.front());
  h.answers.pop_front();
  return a;
}

}  // namespace

int32_t Alert(ClientState& c, const char* message, int32_t type) {
  HostState& h = *c.host;
  DialogRecord rec;
  rec.type = DialogRecord::Type::Alert;
  rec.alertType = type;
  rec.text = message ? message : "";
  h.noteText(rec.text);
  if (type == host::kAlertNote || type == host::kAlertWarning) {
    // Notes and warnings only have a button to go on.
    rec.result = 0;
  } else {
    Answer a = NextAnswer(h, rec);
    rec.answered = a.type == Answer::Type::Ok;
    rec.scriptMismatch = a.type == Answer::Type::Text || a.type == Answer::Type::Choice;
    rec.result = rec.answered ? host::kAlertAnswerOk : -1;
  }
  h.dialogs.push_back(rec);
  if (h.user) h.user->shown(rec);
  return rec.result;
}

int32_t PromptString(ClientState& c, VtrStringSink answer, void* ctx, const char* message,
                     const char* defaultAnswer) {
  HostState& h = *c.host;
  DialogRecord rec;
  rec.type = DialogRecord::Type::Prompt;
  rec.text = message ? message : "";
  rec.defaultAnswer = defaultAnswer ? defaultAnswer : "";
  h.noteText(rec.text);
  Answer a = NextAnswer(h, rec);
  if (a.type == Answer::Type::Text || a.type == Answer::Type::Ok) {
    rec.answered = true;
    rec.answerText = a.type == Answer::Type::Text ? a.text : rec.defaultAnswer;
    rec.result = 0;
    h.noteText(rec.answerText);
    if (answer) answer(ctx, rec.answerText.data(), static_cast<uint32_t>(rec.answerText.size()));
  } else {
    rec.scriptMismatch = a.type == Answer::Type::Choice;
    rec.result = -1;
  }
  h.dialogs.push_back(rec);
  if (h.user) h.user->shown(rec);
  return rec.result;
}

int32_t ScrollBox(ClientState& c, int32_t* chosen, const char* title, const char* const* items,
                  uint32_t count, int32_t defaultItem) {
  HostState& h = *c.host;
  DialogRecord rec;
  rec.type = DialogRecord::Type::ScrollBox;
  rec.title = title ? title : "";
  h.noteText(rec.title);
  for (uint32_t i = 0; items && i < count; ++i) {
    rec.lines.emplace_back(items[i] ? items[i] : "");
    h.noteText(rec.lines.back());
  }
  rec.defaultItem = defaultItem;
  Answer a = NextAnswer(h, rec);
  const auto lines = static_cast<int32_t>(rec.lines.size());
  if (a.type == Answer::Type::Choice && a.choice >= 0 && a.choice < lines) {
    rec.answered = true;
    rec.choice = a.choice;
  } else if (a.type == Answer::Type::Ok) {
    // OK takes the preselected line, which may be none.
    rec.answered = true;
    rec.choice = defaultItem >= 0 && defaultItem < lines ? defaultItem : -1;
  } else {
    rec.scriptMismatch = a.type == Answer::Type::Text || a.type == Answer::Type::Choice;
  }
  rec.result = rec.answered ? 0 : -1;
  if (chosen) *chosen = rec.choice;
  h.dialogs.push_back(rec);
  if (h.user) h.user->shown(rec);
  return rec.result;
}

}  // namespace headless::detail
