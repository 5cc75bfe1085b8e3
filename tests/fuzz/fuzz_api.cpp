// Fuzz target: a byte string read as a sequence of calls over the whole
// interface (see api_encoding.h), on up to two documents, with null handles,
// strings of every length, extreme integers, memory blocks, metafiles, the
// clipboard and allocation failures made to happen in the middle.
//
// After every call both documents' states must be sound; a delivered text
// must be NUL-terminated and, unless the caller wrote free-form RTF or an
// allocation failed, one balanced group with whole lines in the body. When a
// document ends, its open brackets are closed first (cell, row, text box,
// frame, script style, header/footer, style item, style sheet): then only the
// caller's own groups may be left open. Ending it must release exactly its
// blocks, and after each input nothing may be left allocated.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "api_encoding.h"
#include "fuzz_support.h"
#include "platform/platform.h"
#include "samples.h"

using namespace doxfuzz;

namespace {

constexpr int32_t kMaxBlock = 1 << 16;  // largest block the target asks for

// ---- Reading the byte string -------------------------------------------------

class Reader {
 public:
  Reader(const uint8_t *p, size_t n) : p_(p), n_(n) {}
  bool Done() const { return i_ >= n_; }
  uint8_t Byte() { return i_ < n_ ? p_[i_++] : 0; }
  uint8_t Choice(uint8_t count) { return static_cast<uint8_t>(Byte() % count); }
  int32_t Int() {
    uint8_t sel = Byte();
    if (sel < 0x80) return kInts[sel % kIntCount];
    if (sel < 0xC0) return static_cast<int32_t>(sel) - 0xA0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return static_cast<int32_t>(v);
  }
  uint32_t U32() { return static_cast<uint32_t>(Int()); }
  // A string argument; null when the byte says so.
  const char *Str(std::string &keep) {
    uint8_t sel = Byte();
    keep.clear();
    if (sel == 0) return nullptr;
    if (sel == 2 || sel == 3) {
      int32_t length = kLongLengths[Byte() % kLongLengthCount];
      if (sel == 2) {
        char fill = static_cast<char>(Byte());
        keep.assign(static_cast<size_t>(length), fill ? fill : 'x');
      } else {
        static const char kEscaped[] = "a\\{}\r\n\t\x0e\x17\x0c\x16\xe9 ";
        for (int32_t i = 0; i < length; ++i) keep += kEscaped[i % (sizeof kEscaped - 1)];
      }
    } else {
      for (int i = 4; i < sel; ++i) keep += static_cast<char>(Byte());
    }
    return keep.c_str();
  }
  const uint16_t *Wide(std::u16string &keep) {
    uint8_t sel = Byte();
    keep.clear();
    if (sel == 0) return nullptr;
    for (int i = 2; i < sel; ++i) {
      uint16_t lo = Byte();
      keep += static_cast<char16_t>(lo | Byte() << 8);
    }
    return reinterpret_cast<const uint16_t *>(keep.c_str());
  }

 private:
  const uint8_t *p_;
  size_t n_;
  size_t i_ = 0;
};

// DOX_FUZZ_TRACE prints each call's name, DOX_FUZZ_DUMP each document's text
// when it ends: to look at what an input does.
const bool kTrace = std::getenv("DOX_FUZZ_TRACE") != nullptr;
const bool kDump = std::getenv("DOX_FUZZ_DUMP") != nullptr;

int32_t Clip(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// The first character written of a control word or group word (line feeds
// write nothing) is one that the word's own backslash would escape, or there
// is none and the lone backslash escapes what follows: the braces are then
// uneven, as the caller wrote them.
bool UnsafeWord(const char *w) {
  if (!w || !*w) return false;  // no word is written
  while (*w == '\n') ++w;
  return *w == '\0' || *w == '{' || *w == '}' || *w == '\\';
}
// Raw text and face names are written unescaped.
bool HasBraceOrBackslash(const char *s, size_t limit) {
  for (size_t i = 0; s && s[i] && i < limit; ++i)
    if (s[i] == '{' || s[i] == '}' || s[i] == '\\') return true;
  return false;
}

// ---- Files and buffers shared by all inputs -------------------------------------

struct Files {
  std::vector<std::string> pictures;  // sample files, then the fuzz-written one, a missing one
  std::string written, output, missingDir;
  Bytes metafile, emf;
};

const Files &TheFiles() {
  static const Files files = [] {
    Files f;
    const std::string &dir = WorkDir();
    f.metafile = Metafile();
    f.emf = Emf(0, 0, 199, 99);
    Bytes dib24 = PackedDib(7, 5, 24), core = CorePackedDib(9, 3, 8);
    Bytes dib4 = PackedDib(33, 2, 4, 0, 5), dib16 = PackedDib(3, -4, 16, 3, 0, false);
    const Bytes contents[] = {
        BmpFile(dib24, DibInfoBytes(dib24)), BmpFile(core, DibInfoBytes(core)),
        BmpFile(dib4, DibInfoBytes(dib4)),   BmpFile(dib16, DibInfoBytes(dib16)),
        PlaceableWmf(0, 0, 1000, 500, 1440, f.metafile), f.emf,
        Pattern(200),                        Pattern(10),
        Bytes(),
    };
    for (size_t i = 0; i < std::size(contents); ++i) {
      f.pictures.push_back(dir + "/sample" + std::to_string(i) + ".pic");
      WriteFile(f.pictures.back(), contents[i]);
    }
    f.written = dir + "/written.pic";
    WriteFile(f.written, Bytes());
    f.pictures.push_back(f.written);
    f.pictures.push_back(dir + "/missing.pic");
    f.pictures.push_back(dir);  // a directory
    f.output = dir + "/out.rtf";
    f.missingDir = dir + "/missing/out.rtf";
    return f;
  }();
  return files;
}

uint8_t g_source[2 * kMaxBlock];
uint8_t g_target[4 * kMaxBlock];

// ---- One input ----------------------------------------------------------------

struct Slot {
  DOXDOC doc = nullptr;
  bool tainted = false;  // free-form RTF: the braces are the caller's
  bool raw = false;      // raw text: the lines are the caller's
  int rawOpen = 0;       // the caller's own groups still open
};

class Session {
 public:
  Session(const uint8_t *data, size_t size) : in_(data, size) {}

  void Run() {
    const long baseline = dox::plat::MemLiveBlocks();
    MakePools();
    slots_[0].doc = DoxNewDoc();
    int calls = 0;
    while (!in_.Done() && calls++ < 400) {
      const auto op = static_cast<Op>(in_.Byte() % kOpCount);
      if (kTrace) std::fprintf(stderr, "%s\n", kOpNames[op]);
      Step(op);
      for (Slot &s : slots_)
        if (s.doc) CheckDocument(dox::FromHandle(s.doc), !failed_);
    }
    dox::plat::MemFailNth(0);
    for (Slot &s : slots_) Finish(s);
    for (DOXHMEM h : blocks_) Require(DoxMemFree(h) == nullptr, "a pool block can be freed");
    for (void *m : metas_) Require(DoxDeleteMetaFile(m) == 1, "a pool metafile can be deleted");
    for (void *e : enhs_) Require(DoxDeleteEnhMetaFile(e) == 1, "a pool EMF can be deleted");
    Require(DoxClipboardEmpty() == 1, "the clipboard is closed after every call");
    DoxSetFlags(nullptr, 0, 0xFFFFFFFFu);
    DoxResetLastMessage();
    QuietReports();
    Require(dox::plat::MemLiveBlocks() == baseline, "nothing stays allocated after an input");
  }

 private:
  Slot &Cur() { return slots_[current_]; }
  // The document of the next call: the current one, or null once after kOpNullDocNext.
  DOXDOC D() {
    if (nullNext_) {
      nullNext_ = false;
      return nullptr;
    }
    return Cur().doc;
  }

  void MakePools() {
    const Files &f = TheFiles();
    Bytes dib = PackedDib(5, 3, 8, 0, 3), core = CorePackedDib(4, 2, 1);
    blocks_.push_back(Block(dib));
    blocks_.push_back(Block(core));
    metas_.push_back(DoxMetaFileFromBits(f.metafile.data(), static_cast<uint32_t>(f.metafile.size())));
    enhs_.push_back(DoxEnhMetaFileFromBits(f.emf.data(), static_cast<uint32_t>(f.emf.size())));
    DoxMetaFilePict pict = {8, 2540, 1270, metas_.back()};
    blocks_.push_back(Block(Bytes(reinterpret_cast<const char *>(&pict), sizeof pict)));
    pict = {1, 0, 0, metas_.back()};
    blocks_.push_back(Block(Bytes(reinterpret_cast<const char *>(&pict), sizeof pict)));
  }

  static DOXHMEM Block(const Bytes &b) {
    DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(b.size()));
    if (!h) return nullptr;
    if (!b.empty()) std::memcpy(DoxMemLock(h), b.data(), b.size());
    DoxMemUnlock(h);
    return h;
  }

  template <typename T>
  static void Remove(std::vector<T> &pool, T h) {
    for (auto it = pool.begin(); it != pool.end(); ++it)
      if (*it == h) {
        pool.erase(it);
        return;
      }
  }
  template <typename T>
  T Pick(const std::vector<T> &pool) {
    uint8_t i = in_.Byte();
    return pool.empty() ? nullptr : pool[i % pool.size()];
  }
  // A handle of any kind: null, one of the pool's blocks, metafiles or enhanced
  // metafiles, or addresses that are no handle at all.
  void *AnyHandle() {
    switch (in_.Choice(6)) {
      case 1: return Pick(blocks_);
      case 2: return Pick(metas_);
      case 3: return Pick(enhs_);
      case 4: return reinterpret_cast<void *>(16);
      case 5: return g_source;
      default: return nullptr;
    }
  }
  // For the memory-block calls: null, a block, or no handle at all. (A
  // metafile is not the caller's block to free, here as on Windows.)
  DOXHMEM AnyBlock() {
    switch (in_.Choice(4)) {
      case 1: return Pick(blocks_);
      case 2: return reinterpret_cast<void *>(16);
      case 3: return g_source;
      default: return nullptr;
    }
  }

  // The end of a document: its brackets closed, then only the caller's own
  // groups may be open and the text must be one balanced group.
  void Finish(Slot &s) {
    if (!s.doc) return;
    dox::Document *d = dox::FromHandle(s.doc);
    if (!s.tainted && !failed_) CloseBrackets(s.doc);
    if (kDump) {  // to look at what an input builds
      DOXHMEM h = DoxGetData(s.doc, nullptr);
      std::fprintf(stderr, "%s\n", h ? static_cast<const char *>(DoxMemLock(h)) : "<no text>");
      if (h) DoxMemFree(h);
    }
    if (!s.tainted && !failed_) {
      Require(d->Stream->GroupDepth == s.rawOpen,
              "once every bracket is closed only the caller's groups are open");
      if (!s.raw) CheckBodyLines(d);
      CheckDelivery(s.doc, true, true);
    }
    EndDocument(s.doc);
    s = Slot{};
  }

  static void CloseBrackets(DOXDOC doc) {
    dox::Document *d = dox::FromHandle(doc);
    for (int guard = 0; guard < 400; ++guard) {
      const uint32_t bits = d->StateBits;
      const dox::TableState &t = d->Tables;
      if (bits & dox::STATE_CELL_TEXT) {
        DoxEndCellText(doc);
      } else if (bits & dox::STATE_TABLE_ROW) {
        if (t.CellDefCount == 0)
          DoxNextCellInfo(doc, 1440, 0, 0, 0xFFFFFF, 0, 0, 0, 0, 0);
        else if (t.CellTextCount < t.CellDefCount)
          DoxBeginCellText(doc);
        else
          DoxEndTableRow(doc);
      } else if (bits & dox::STATE_TEXT_BOX) {
        DoxEndTextBox(doc);
      } else if (bits & dox::STATE_FRAME) {
        DoxEndFrame(doc);
      } else if (bits & dox::STATE_SCRIPT_STYLE) {
        DoxEndScriptStyle(doc);
      } else if (bits & dox::STATE_HDR_FTR) {
        DoxEndHdrFtr(doc);
      } else if (bits & dox::STATE_STYLE_ITEM) {
        DoxEndStyleItem(doc);
      } else if (bits & dox::STATE_STYLE_SHEET) {
        DoxEndStyleSheet(doc);
      } else {
        return;
      }
    }
    Require(false, "every bracket can be closed");
  }

  void NewDoc() {
    Finish(Cur());
    Cur().doc = DoxNewDoc();
  }

  void Step(Op op) {
    std::string s1, s2;
    std::u16string w;
    Slot &slot = Cur();
    switch (op) {
      // ---- Documents and the library ----
      case kOpNewDoc: nullNext_ = false; NewDoc(); break;
      case kOpSwitchDoc:
        current_ ^= 1;
        if (!Cur().doc) Cur().doc = DoxNewDoc();
        break;
      case kOpNullDocNext: nullNext_ = true; break;
      case kOpSetFlags: {
        DOXDOC doc = in_.Choice(2) ? D() : nullptr;
        int32_t set = in_.Int();
        uint32_t flags = in_.U32();
        uint32_t result = DoxSetFlags(doc, set, flags);
        if (doc) Require(result == dox::FromHandle(doc)->DocFlags, "DoxSetFlags returns the flags");
        break;
      }
      case kOpGetData: {
        DOXDOC doc = D();
        if (!doc) {
          Require(DoxGetData(nullptr, nullptr) == nullptr, "no text without a document");
          break;
        }
        if (!slot.raw) CheckBodyLines(dox::FromHandle(doc));
        CheckDelivery(doc, !slot.tainted && !failed_, !failed_);
        break;
      }
      case kOpSaveFile: SaveFile(D(), slot); break;
      case kOpGetLastMessage: {
        uint8_t which = in_.Choice(4);
        char message[1024], caption[1024];
        std::memset(message, 'x', sizeof message);
        std::memset(caption, 'x', sizeof caption);
        DoxGetLastMessage(which & 1 ? nullptr : message, which & 2 ? nullptr : caption);
        if (!(which & 1)) Require(strnlen(message, sizeof message) < 300, "a message fits 300 bytes");
        if (!(which & 2)) Require(strnlen(caption, sizeof caption) < 100, "a caption fits 100 bytes");
        break;
      }
      case kOpResetLastMessage: Require(DoxResetLastMessage() == 1, "reset returns 1"); break;
      case kOpWep: Require(WEP(in_.Int()) == 1, "WEP returns 1"); break;
      case kOpSetMessageSink:
        DoxSetMessageSink(QuietSink(), in_.Choice(2) ? g_target : nullptr);
        break;
      case kOpEnumFont: {
        dox::plat::LogFont lf{};
        lf.lfCharSet = static_cast<uint8_t>(in_.Int());
        lf.lfPitchAndFamily = static_cast<uint8_t>(in_.Int());
        if (const char *face = in_.Str(s1)) std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
        DOXDOC doc = in_.Choice(2) ? D() : nullptr;
        Require(DoxEnumFont(&lf, nullptr, in_.U32(), reinterpret_cast<intptr_t>(doc)) == 0,
                "the font callback ends the enumeration");
        break;
      }
      case kOpFailAllocation:
        dox::plat::MemFailNth(1 + in_.Choice(24));
        failed_ = true;
        break;

      // ---- Handles and strings ----
      case kOpStrToHandle: {
        int32_t size = Clip(in_.Int(), -16, kMaxBlock);
        const void *source = in_.Choice(4) ? g_source : nullptr;
        if (DOXHMEM h = DoxStrToHandle(source, size)) blocks_.push_back(h);
        break;
      }
      case kOpStrToHandleInChunks: {
        int32_t total = Clip(in_.Int(), -16, kMaxBlock);
        int32_t offset = in_.Int(), chunk = in_.Int();
        const void *source = in_.Choice(4) ? g_source : nullptr;
        DOXHMEM given = offset == 0 ? nullptr : AnyBlock();
        DOXHMEM h = DoxStrToHandleInChunks(source, total, given, offset, chunk);
        if (h && offset == 0) blocks_.push_back(h);
        Require(!h || offset == 0 || h == given, "a later chunk goes into the given block");
        break;
      }
      case kOpHandleToStr: {
        DOXHMEM h = AnyBlock();
        int32_t size = Clip(in_.Int(), INT32_MIN, 2 * kMaxBlock);
        void *target = in_.Choice(4) ? g_target : nullptr;
        if (DoxHandleToStr(target, size, h) == 1) Remove(blocks_, h);
        break;
      }
      case kOpHandleToStrInChunks: {
        DOXHMEM h = AnyBlock();
        int32_t total = in_.Int(), offset = in_.Int(), chunk = in_.Int();
        void *target = in_.Choice(4) ? g_target : nullptr;
        int64_t end = static_cast<int64_t>(offset) + chunk;
        auto n = end > total ? static_cast<int32_t>(static_cast<int64_t>(total) - offset) : chunk;
        if (DoxHandleToStrInChunks(target, total, h, offset, chunk) == 1 &&
            static_cast<int64_t>(offset) + n >= total)
          Remove(blocks_, h);  // the last chunk frees the block
        break;
      }
      case kOpMakeMbcs: {
        int32_t count = in_.Int();
        if (count > 4096) count = 4096;
        uint8_t which = in_.Choice(8);
        char *target = which & 1 ? nullptr : reinterpret_cast<char *>(g_target);
        const char *chars = which & 2 ? nullptr : reinterpret_cast<const char *>(g_source);
        const char *leads = which & 4 ? nullptr : reinterpret_cast<const char *>(g_source) + 7;
        DoxMakeMbcs(target, chars, leads, count);
        break;
      }
      case kOpMemAlloc:
        if (DOXHMEM h = DoxMemAlloc(in_.U32() % (kMaxBlock + 1))) blocks_.push_back(h);
        break;
      case kOpMemLock: DoxMemLock(AnyBlock()); break;
      case kOpMemUnlock: DoxMemUnlock(AnyBlock()); break;
      case kOpMemSize: DoxMemSize(AnyBlock()); break;
      case kOpMemFree: {
        DOXHMEM h = AnyBlock();
        if (h && DoxMemFree(h) == nullptr) Remove(blocks_, h);
        break;
      }

      // ---- Raw RTF, sections and text ----
      case kOpInsertRaw: {
        DOXDOC doc = D();
        const char *text = in_.Str(s1);
        if (doc && text && *text) {
          slot.raw = true;
          slot.tainted |= HasBraceOrBackslash(text, SIZE_MAX);
        }
        DoxInsertRaw(doc, text);
        break;
      }
      case kOpBeginGroup: {
        DOXDOC doc = D();
        const char *word = in_.Str(s1);
        int32_t starred = in_.Int();
        if (doc) slot.tainted |= UnsafeWord(word);
        if (DoxBeginGroup(doc, word, starred) && doc) ++slot.rawOpen;
        break;
      }
      case kOpEndGroup: {
        DOXDOC doc = D();
        if (doc && --slot.rawOpen < 0) slot.tainted = true;
        DoxEndGroup(doc);
        break;
      }
      case kOpInsertControl: {
        DOXDOC doc = D();
        const char *word = in_.Str(s1);
        int32_t hasValue = in_.Int(), value = in_.Int();
        if (doc) slot.tainted |= UnsafeWord(word);
        DoxInsertControl(doc, word, hasValue, value);
        break;
      }
      case kOpInitSect: DoxInitSect(D()); break;
      case kOpBeginSectText: DoxBeginSectText(D()); break;
      case kOpPaper: {
        DOXDOC doc = D();
        int32_t a = in_.Int(), b = in_.Int(), c = in_.Int();
        DoxPaper(doc, a, b, c);
        break;
      }
      case kOpMargin: {
        DOXDOC doc = D();
        int32_t v[6];
        for (int32_t &x : v) x = in_.Int();
        DoxMargin(doc, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
      }
      case kOpSectInfo: {
        DOXDOC doc = D();
        int32_t v[4];
        for (int32_t &x : v) x = in_.Int();
        DoxSectInfo(doc, v[0], v[1], v[2], v[3]);
        break;
      }
      case kOpInsertBreak: { DOXDOC doc = D(); DoxInsertBreak(doc, in_.Int()); break; }
      case kOpBeginHdrFtr: { DOXDOC doc = D(); DoxBeginHdrFtr(doc, in_.Int()); break; }
      case kOpEndHdrFtr: DoxEndHdrFtr(D()); break;
      case kOpInsertText: { DOXDOC doc = D(); DoxInsertText(doc, in_.Str(s1)); break; }
      case kOpInsertUText: { DOXDOC doc = D(); DoxInsertUText(doc, in_.Wide(w)); break; }
      case kOpInsertBookmark: {
        DOXDOC doc = D();
        const char *name = in_.Str(s1);
        DoxInsertBookmark(doc, name, in_.Int());
        break;
      }
      case kOpInsertFootnote: {
        DOXDOC doc = D();
        const char *mark = in_.Str(s1);
        DoxInsertFootnote(doc, mark, in_.Str(s2));
        break;
      }
      case kOpInsertPageField: { DOXDOC doc = D(); DoxInsertPageField(doc, in_.Int()); break; }
      case kOpInsertMergeField: {
        DOXDOC doc = D();
        const char *name = in_.Str(s1);
        DoxInsertMergeField(doc, name, in_.Str(s2));
        break;
      }
      case kOpInsertTocField: {
        DOXDOC doc = D();
        int32_t first = in_.Int();
        DoxInsertTocField(doc, first, in_.Int());
        break;
      }

      // ---- Formatting ----
      case kOpResetTextProp: DoxResetTextProp(D()); break;
      case kOpTextFont:
      case kOpTextFont2: {
        DOXDOC doc = D();
        const char *face = in_.Str(s1);
        int32_t size = in_.Int();
        uint32_t style = in_.U32();
        int32_t charset = op == kOpTextFont2 ? in_.Int() : -1;
        int32_t on = in_.Int();
        if (doc) slot.tainted |= HasBraceOrBackslash(face, sizeof(dox::FontEntry::Name) - 1);
        if (op == kOpTextFont)
          DoxTextFont(doc, face, size, style, on);
        else
          DoxTextFont2(doc, face, size, style, charset, on);
        break;
      }
      case kOpCharStyleId: { DOXDOC doc = D(); DoxCharStyleId(doc, in_.Int()); break; }
      case kOpTextColor: {
        DOXDOC doc = D();
        uint32_t color = in_.U32();
        DoxTextColor(doc, color, in_.Int());
        break;
      }
      case kOpBeginScriptStyle: { DOXDOC doc = D(); DoxBeginScriptStyle(doc, in_.Int()); break; }
      case kOpEndScriptStyle: DoxEndScriptStyle(D()); break;
      case kOpResetParaProp: DoxResetParaProp(D()); break;
      case kOpParaFlags: { DOXDOC doc = D(); DoxParaFlags(doc, in_.U32()); break; }
      case kOpParaIndent:
      case kOpParaSpace: {
        DOXDOC doc = D();
        int32_t a = in_.Int(), b = in_.Int(), c = in_.Int();
        if (op == kOpParaIndent)
          DoxParaIndent(doc, a, b, c);
        else
          DoxParaSpace(doc, a, b, c);
        break;
      }
      case kOpParaShadeColor: {
        DOXDOC doc = D();
        int32_t percent = in_.Int();
        DoxParaShadeColor(doc, percent, in_.U32());
        break;
      }
      case kOpParaStyleId: { DOXDOC doc = D(); DoxParaStyleId(doc, in_.Int()); break; }
      case kOpParaTabStop: {
        DOXDOC doc = D();
        int32_t kind = in_.Int(), position = in_.Int();
        DoxParaTabStop(doc, kind, position, in_.Int());
        break;
      }
      case kOpParaBullet: {
        DOXDOC doc = D();
        int32_t kind = in_.Int(), style = in_.Int(), level = in_.Int(), start = in_.Int();
        const char *before = in_.Str(s1);
        const char *after = in_.Str(s2);
        DoxParaBullet(doc, kind, style, level, start, before, after, in_.U32());
        break;
      }
      case kOpBeginStyleSheet: DoxBeginStyleSheet(D()); break;
      case kOpBeginStyleItem: {
        DOXDOC doc = D();
        int32_t para = in_.Int(), id = in_.Int();
        DoxBeginStyleItem(doc, para, id, in_.Str(s1));
        break;
      }
      case kOpEndStyleItem: DoxEndStyleItem(D()); break;
      case kOpEndStyleSheet: DoxEndStyleSheet(D()); break;

      // ---- Tables ----
      case kOpBeginTableRow:
      case kOpBeginTableRow2: {
        DOXDOC doc = D();
        int32_t left = in_.Int(), height = in_.Int();
        uint32_t flags = in_.U32();
        int32_t header = in_.Int(), p1 = in_.Int();
        if (op == kOpBeginTableRow) {
          DoxBeginTableRow(doc, left, height, flags, header, p1);
        } else {
          int32_t p2 = in_.Int(), p3 = in_.Int(), p4 = in_.Int();
          DoxBeginTableRow2(doc, left, height, flags, header, p1, p2, p3, p4);
        }
        break;
      }
      case kOpNextCellInfo:
      case kOpNextCellInfo2:
      case kOpNextCellInfo3: {
        DOXDOC doc = D();
        int32_t width = in_.Int(), valign = in_.Int(), shading = in_.Int();
        uint32_t bg = in_.U32();
        int32_t b[4];
        for (int32_t &x : b) x = in_.Int();
        uint32_t borderColor = op == kOpNextCellInfo ? 0 : in_.U32();
        uint32_t merge = in_.U32();
        if (op == kOpNextCellInfo)
          DoxNextCellInfo(doc, width, valign, shading, bg, b[0], b[1], b[2], b[3], merge);
        else if (op == kOpNextCellInfo2)
          DoxNextCellInfo2(doc, width, valign, shading, bg, b[0], b[1], b[2], b[3], borderColor,
                           merge);
        else
          DoxNextCellInfo3(doc, width, valign, shading, bg, b[0], b[1], b[2], b[3], borderColor,
                           merge, in_.Int());
        break;
      }
      case kOpBeginCellText: DoxBeginCellText(D()); break;
      case kOpEndCellText: DoxEndCellText(D()); break;
      case kOpEndTableRow: DoxEndTableRow(D()); break;

      // ---- Objects ----
      case kOpBeginFrame: {
        DOXDOC doc = D();
        int32_t v[5];
        for (int32_t &x : v) x = in_.Int();
        DoxBeginFrame(doc, v[0], v[1], v[2], v[3], v[4]);
        break;
      }
      case kOpEndFrame: DoxEndFrame(D()); break;
      case kOpBeginTextBox:
      case kOpBeginTextBox2:
      case kOpDrawRect: {
        DOXDOC doc = D();
        int32_t v[6];
        for (int32_t &x : v) x = in_.Int();
        uint32_t fill = in_.U32(), line = in_.U32();
        int32_t lineWidth = in_.Int(), transparent = in_.Int();
        if (op == kOpBeginTextBox)
          DoxBeginTextBox(doc, v[0], v[1], v[2], v[3], v[4], v[5], fill, line, lineWidth,
                          transparent);
        else if (op == kOpDrawRect)
          DoxDrawRect(doc, v[0], v[1], v[2], v[3], v[4], v[5], fill, line, lineWidth,
                      transparent);
        else
          DoxBeginTextBox2(doc, v[0], v[1], v[2], v[3], v[4], v[5], fill, line, lineWidth,
                           transparent, in_.Int());
        break;
      }
      case kOpEndTextBox: DoxEndTextBox(D()); break;
      case kOpDrawLine: {
        DOXDOC doc = D();
        int32_t v[6];
        for (int32_t &x : v) x = in_.Int();
        uint32_t line = in_.U32();
        DoxDrawLine(doc, v[0], v[1], v[2], v[3], v[4], v[5], line, in_.Int());
        break;
      }

      // ---- Pictures ----
      case kOpInsertPictFile: {
        DOXDOC doc = D();
        const Files &f = TheFiles();
        uint8_t c = in_.Choice(static_cast<uint8_t>(f.pictures.size() + 2));
        const char *name = c < f.pictures.size() ? f.pictures[c].c_str() : nullptr;
        if (c == f.pictures.size()) name = in_.Str(s1);
        int32_t width = in_.Int(), height = in_.Int(), link = in_.Int();
        if (c == f.pictures.size() && !link && name) {
          s2 = WorkDir() + "/n-" + name;  // an embedded picture is read only from our files
          name = s2.c_str();
        }
        DoxInsertPictFile(doc, name, width, height, link);
        break;
      }
      case kOpPastePicture: {
        DOXDOC doc = D();
        int32_t format = in_.Int();
        void *h = AnyHandle();
        int32_t width = in_.Int(), height = in_.Int();
        DoxPastePicture(doc, format, h, width, height);
        break;
      }
      case kOpClipboardSetData: ClipboardSetData(); break;
      case kOpClipboardEmpty: DoxClipboardEmpty(); break;
      case kOpMetaFileFromBits:
      case kOpEnhMetaFileFromBits: {
        const Files &f = TheFiles();
        const char *bits = in_.Str(s1);
        Bytes bytes = bits ? s1 : op == kOpMetaFileFromBits ? f.metafile : f.emf;
        auto size = static_cast<uint32_t>(bytes.size());
        if (op == kOpMetaFileFromBits) {
          if (void *m = DoxMetaFileFromBits(bytes.data(), size)) metas_.push_back(m);
        } else if (void *e = DoxEnhMetaFileFromBits(bytes.data(), size)) {
          enhs_.push_back(e);
        }
        break;
      }
      case kOpDeleteMetaFile: {
        void *m = AnyHandle();
        if (DoxDeleteMetaFile(m) == 1) Remove(metas_, m);
        break;
      }
      case kOpDeleteEnhMetaFile: {
        void *e = AnyHandle();
        if (DoxDeleteEnhMetaFile(e) == 1) Remove(enhs_, e);
        break;
      }
      case kOpWritePictureFile: {
        in_.Str(s1);
        WriteFile(TheFiles().written, s1);
        break;
      }
      case kOpCount: break;
    }
  }

  void SaveFile(DOXDOC doc, const Slot &slot) {
    const Files &f = TheFiles();
    const char *names[] = {nullptr, "", f.output.c_str(), WorkDir().c_str(), f.missingDir.c_str()};
    uint8_t c = in_.Choice(5);
    DOXHMEM result = DoxSaveFile(doc, names[c]);
    if (c < 2) {  // memory output: a block the caller owns
      if (result) Require(DoxMemFree(result) == nullptr, "a saved block can be freed");
      return;
    }
    if (c != 2 || !doc || failed_) return;
    Require(result == reinterpret_cast<DOXHMEM>(1), "an intact document can be saved");
    std::ifstream in(f.output, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!slot.tainted) Require(OneBalancedGroup(text.data(), text.size()), "the saved text is one group");
  }

  // Data handed to the clipboard, which owns it when the call succeeds.
  void ClipboardSetData() {
    const Files &f = TheFiles();
    int32_t format = in_.Int(), mm = in_.Int(), x = in_.Int(), y = in_.Int();
    std::string bytes;
    const char *given = in_.Str(bytes);
    void *data = nullptr;
    void *inner = nullptr;  // the metafile a metafile picture block names
    if (format == PICT_FORMAT_METAFILEPICT) {
      if (!given || !(inner = DoxMetaFileFromBits(bytes.data(), static_cast<uint32_t>(bytes.size()))))
        inner = DoxMetaFileFromBits(f.metafile.data(), static_cast<uint32_t>(f.metafile.size()));
      DoxMetaFilePict pict = {mm, x, y, inner};
      data = Block(Bytes(reinterpret_cast<const char *>(&pict), sizeof pict));
    } else if (format == PICT_FORMAT_ENHMETAFILE) {
      if (!given || !(data = DoxEnhMetaFileFromBits(bytes.data(), static_cast<uint32_t>(bytes.size()))))
        data = DoxEnhMetaFileFromBits(f.emf.data(), static_cast<uint32_t>(f.emf.size()));
    } else if (given) {
      data = Block(bytes);
    }
    if (DoxClipboardSetData(static_cast<uint32_t>(format), data)) return;
    if (format == PICT_FORMAT_ENHMETAFILE) {
      if (data) DoxDeleteEnhMetaFile(data);
      return;
    }
    if (inner) DoxDeleteMetaFile(inner);
    if (data) DoxMemFree(data);
  }

  Reader in_;
  Slot slots_[2];
  int current_ = 0;
  bool nullNext_ = false;
  bool failed_ = false;  // an allocation failure was made to happen
  std::vector<DOXHMEM> blocks_;
  std::vector<void *> metas_, enhs_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  QuietReports();
  for (size_t i = 0; i < sizeof g_source; ++i) g_source[i] = static_cast<uint8_t>(i * 37 + 5);
  TheFiles();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Session(data, size).Run();
  return 0;
}
