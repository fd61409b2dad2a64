// Reading a script again after an edit: the chunks the edit leaves alone are kept (those after
// it moved), the code is read from the first chunk the edit reaches until the reading meets a
// chunk read before at its very start (from there on it would read the same), or ends. Chunks
// after the end of the code's reading (after a syntax error, say) wait in rows, each ending
// where an earlier reading ended, to be met again once the error is mended.
#include <algorithm>
#include <iterator>

#include "scrivane/core/cogscript_p.h"

namespace scrivane {

namespace {

using cogread::Chunk;
using cogread::ChunkList;

int LineNow(const Chunk& c) { return c.line + c.lineShift; }

// Line ends in text[0, n) as the reader counts them; text[n], when there, follows.
int LineEnds(QStringView text, qsizetype n) {
  int ends = 0;
  for (qsizetype i = 0; i < n; ++i) ends += cogread::EndsLine(text, i);
  return ends;
}

void Move(Chunk& c, qsizetype delta, int lineDelta) {
  c.shift += delta;
  c.lineShift += lineDelta;
}

}  // namespace

namespace cogread {

void ChunkList::Replace(size_t from, size_t to, ChunkList&& with) {
  const size_t common = std::min(to - from, with.size());
  for (size_t i = 0; i < common; ++i) v_[from + i] = std::move(with.v_[i]);
  if (with.size() > common)
    v_.insert(v_.begin() + qsizetype(to), std::make_move_iterator(with.v_.begin() + qsizetype(common)),
              std::make_move_iterator(with.v_.end()));
  else
    v_.erase(v_.begin() + qsizetype(from + common), v_.begin() + qsizetype(to));
}

}  // namespace cogread

bool CogReading::Update(const CogTextSource& text, qsizetype from, qsizetype to, qsizetype delta) {
  cogread::State& st = *d_;
  const qsizetype size = text.Size();
  if (st.header.codeStart < 0 || !st.codeAfterLf || st.live == 0 || from < st.header.codeStart || from > to || to > st.size ||
      st.size + delta != size || to + delta < from)
    return false;
  // Past this a whole reading (off the user's thread) serves better.
  const qsizetype most = std::max<qsizetype>(64 * 1024, size / 20);
  if (std::max(to, to + delta) - from > most) return false;
  ChunkList& chunks = st.chunks;
  // Chunks the edit leaves alone: those whose reading ended before it, and those whose first
  // line begins after it.
  const auto before = [&](const Chunk& c) { return c.Now(c.reach) <= from; };
  const auto after = [&](const Chunk& c) { return c.Now(c.lineStart) > to; };
  size_t first = 0;
  while (first < st.live && before(chunks[first])) ++first;
  // A line that begins where the edit does may not begin there any more (a CR before it takes
  // an LF typed after it as its own): the reading starts a line earlier.
  while (first > 0 && first < st.live && chunks[first].Now(chunks[first].lineStart) >= from) --first;
  size_t next = 0;
  while (next < chunks.size() && !after(chunks[next])) ++next;

  // How many lines the edit added: counted from the last line start before it to the first
  // chunk after it.
  int lineDelta = 0;
  if (next < chunks.size()) {
    size_t a = 0;
    while (a + 1 < chunks.size() && chunks[a + 1].Now(chunks[a + 1].lineStart) < from) ++a;
    const qsizetype s0 = chunks[a].Now(chunks[a].lineStart), s1 = chunks[next].Now(chunks[next].lineStart) + delta;
    if (s1 - s0 > most) return false;
    const QString between = text.Mid(s0, s1 - s0 + 1);
    lineDelta = LineNow(chunks[a]) + LineEnds(between, s1 - s0) - LineNow(chunks[next]);
  }

  ChunkList made;
  cogread::CodeRead how = cogread::CodeRead::Ended;
  size_t met = chunks.size();
  if (first < st.live) {
    const Chunk& c = chunks[first];
    Chunk restart;
    restart.start = c.Now(c.start);
    restart.lineStart = c.Now(c.lineStart);
    restart.line = LineNow(c);
    const qsizetype ws = restart.lineStart;
    qsizetype we = std::max(to + delta, next < chunks.size() ? chunks[next].Now(chunks[next].start) + delta : 0);
    we = std::min(size, we + 4 * 4096);
    for (;;) {
      QString window = text.Mid(ws, we - ws);
      // A CR at the stretch's end counts as a line end only when no LF follows it.
      if (we < size && window.endsWith(u'\r')) window = text.Mid(ws, ++we - ws);
      cogread::Reader reader(window, ws, restart.line, we >= size, st);
      made.clear();
      size_t candidate = next;
      const auto meets = [&](qsizetype offset) {
        while (candidate < chunks.size() && chunks[candidate].Now(chunks[candidate].start) + delta < offset) ++candidate;
        if (candidate < chunks.size() && chunks[candidate].Now(chunks[candidate].start) + delta == offset) {
          met = candidate;
          return true;
        }
        return false;
      };
      how = cogread::ReadCode(reader, restart, made, meets);
      if (how != cogread::CodeRead::ShortText) break;
      we = std::min(size, ws + 2 * (we - ws));
      if (we - ws > 2 * most) return false;
    }
  }

  // The chunks now: those before the edit, those read now, and those after it, moved.
  const size_t kept = first < st.live ? first : st.live;
  if (how == cogread::CodeRead::Met && st.live > met) {
    // In place: the chunks read now take the places of those they replace.
    const size_t gone = met - kept, read = made.size();
    st.sameChecks = st.assembledNow && lineDelta == 0 && read == gone;
    for (size_t i = 0; st.sameChecks && i < gone; ++i) st.sameChecks = cogread::SameForChecks(chunks[kept + i], made[i]);
    st.editFrom = kept;
    st.editTo = kept + read;
    st.editStart = chunks[kept].Now(chunks[kept].start);
    st.editEnd = chunks[met].Now(chunks[met].start);
    st.editDelta = delta;
    st.assembledNow = false;
    for (size_t i = met; i < chunks.size(); ++i) Move(chunks[i], delta, lineDelta);
    chunks.Replace(kept, met, std::move(made));
    // The code's reading still ends in the chunk it ended in.
    st.live = st.live + read - gone;
    st.size = size;
    return true;
  }
  st.sameChecks = st.assembledNow = false;
  ChunkList now;
  now.reserve(chunks.size() + made.size());
  for (size_t i = 0; i < kept; ++i) now.Take(chunks, i);
  for (size_t i = 0; i < made.size(); ++i) now.Take(made, i);
  if (how == cogread::CodeRead::Met) {
    for (size_t i = met; i < chunks.size(); ++i) {
      Move(chunks[i], delta, lineDelta);
      now.Take(chunks, i);
    }
  } else {
    // The code's reading ended: the chunks after its end wait, in rows that each run to the
    // end of an earlier reading; a row the edit broke is given up.
    const Chunk& last = now.back();
    const qsizetype end = last.Now(last.stop);
    ChunkList row;
    for (size_t i = kept; i < chunks.size(); ++i) {
      Chunk& c = chunks[i];
      const bool alone = before(c) || after(c);
      if (alone && !before(c)) Move(c, delta, lineDelta);
      if (!alone || c.Now(c.start) <= end) {
        row.clear();
        continue;
      }
      row.Take(chunks, i);
      if (row.back().stop >= 0) {
        for (size_t r = 0; r < row.size(); ++r) now.Take(row, r);
        row.clear();
      }
    }
  }
  size_t live = 0;
  while (live < now.size() && now[live].stop < 0) ++live;
  if (live == now.size()) return false;  // cannot be: a reading always ends
  chunks = std::move(now);
  st.live = live + 1;
  st.size = size;
  return true;
}

}  // namespace scrivane
