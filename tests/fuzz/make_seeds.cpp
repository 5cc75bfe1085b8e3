// Writes the seed corpora of the fuzz targets: OUTDIR/pict_file (picture
// files of every kind and depth, and broken ones), OUTDIR/paste (handles of
// each format, from the caller and through the clipboard) and OUTDIR/api
// (call sequences building representative documents, in the language of
// api_encoding.h). Run by tests/fuzz/run.sh and by the replay tests.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "api_encoding.h"
#include "dox.h"
#include "samples.h"

using namespace doxfuzz;

namespace {

std::filesystem::path g_out;

void Seed(const char *target, const std::string &name, const Bytes &bytes) {
  std::filesystem::path dir = g_out / target;
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Bytes Le32(int32_t v) {
  Bytes b;
  Put32(b, static_cast<uint32_t>(v));
  return b;
}

void PictureFiles() {
  struct Dib {
    const char *name;
    Bytes packed;
  };
  const Dib dibs[] = {
      {"bmp1", PackedDib(13, 3, 1)},           {"bmp4", PackedDib(9, 4, 4)},
      {"bmp4_used", PackedDib(9, 4, 4, 0, 3)}, {"bmp8", PackedDib(5, 5, 8)},
      {"bmp16_masks", PackedDib(6, 2, 16, 3)}, {"bmp24", PackedDib(10, 3, 24)},
      {"bmp24_topdown", PackedDib(4, -3, 24)}, {"bmp32_nosize", PackedDib(3, 3, 32, 0, 0, false)},
      {"bmp8_rle", PackedDib(4, 4, 8, 1)},     {"core1", CorePackedDib(17, 2, 1)},
      {"core4", CorePackedDib(3, 3, 4)},       {"core8", CorePackedDib(2, 2, 8)},
      {"core24", CorePackedDib(5, 1, 24)},
  };
  for (const Dib &d : dibs) Seed("pict_file", std::string(d.name) + ".bmp", BmpFile(d.packed, DibInfoBytes(d.packed)));
  Bytes bmp = BmpFile(dibs[5].packed, DibInfoBytes(dibs[5].packed));
  Seed("pict_file", "bmp_offset_past_end.bmp", bmp.substr(0, 10) + Le32(100000) + bmp.substr(14));
  Seed("pict_file", "bmp_header_only.bmp", bmp.substr(0, 14));
  Seed("pict_file", "bmp_cut.bmp", bmp.substr(0, 60));
  const Bytes mf = Metafile();
  Seed("pict_file", "wmf.wmf", PlaceableWmf(0, 0, 2000, 1000, 1440, mf));
  Seed("pict_file", "wmf_negative.wmf", PlaceableWmf(500, 400, -100, 0, 576, mf));
  Seed("pict_file", "wmf_zero_inch.wmf", PlaceableWmf(0, 0, 100, 100, 0, mf));
  Seed("pict_file", "wmf_cut.wmf", PlaceableWmf(0, 0, 100, 100, 96, mf).substr(0, 30));
  Seed("pict_file", "emf.emf", Emf(0, 0, 299, 149));
  Seed("pict_file", "emf_empty_bounds.emf", Emf(10, 10, 10, 10));
  Seed("pict_file", "emf_zero_mm.emf", Emf(0, 0, 99, 99, 1024, 768, 0, 0));
  Seed("pict_file", "emf_header_only.emf", Emf(0, 0, 9, 9).substr(0, 108));
  Seed("pict_file", "garbage20.bin", Pattern(20));
  Seed("pict_file", "garbage200.bin", Pattern(200, 11));
}

void PasteHandles() {
  auto seed = [](const std::string &name, uint8_t selector, int32_t w, int32_t h, const Bytes &content) {
    Seed("paste", name, Bytes(1, static_cast<char>(selector)) + Le32(w) + Le32(h) + content);
  };
  seed("dib8", 1, 0, 0, PackedDib(5, 5, 8));
  seed("dib24_sized", 1, 2880, 1440, PackedDib(10, 3, 24));
  seed("dib16_masks", 1, 0, 0, PackedDib(6, 2, 16, 3));
  seed("dib32_nosize_topdown", 1, 0, 0, PackedDib(3, -3, 32, 0, 0, false));
  seed("dib_core4", 1, 0, 720, CorePackedDib(3, 3, 4));
  seed("dib_clipboard", 5, 0, 0, PackedDib(9, 4, 4, 0, 3));
  seed("any_clipboard", 3, 0, 0, PackedDib(2, 2, 1));
  const Bytes mf = Metafile();
  seed("metafilepict_aniso", 0, 0, 0, Le32(8) + Le32(2540) + Le32(1270) + mf);
  seed("metafilepict_aniso_zero", 0, 0, 0, Le32(8) + Le32(0) + Le32(0) + mf);
  seed("metafilepict_text", 0, 1440, 1440, Le32(1) + Le32(100) + Le32(50) + mf);
  seed("metafilepict_other_mode", 0, 0, 0, Le32(3) + Le32(10) + Le32(10) + mf);
  seed("metafilepict_clipboard", 4, 0, 0, Le32(8) + Le32(5080) + Le32(2540) + mf);
  seed("emf", 2, 0, 0, Emf(0, 0, 199, 99));
  seed("emf_sized", 2, 1440, -1440, Emf(5, 5, 105, 55));
  seed("emf_empty_bounds", 2, 0, 0, Emf(7, 7, 7, 7));
  seed("emf_clipboard", 6, 0, 0, Emf(0, 0, 49, 49, 800, 600, 0, 150));
}

// ---- Call sequences ------------------------------------------------------------

Encoder Text(Encoder e, const std::string &s) { return e.Call(kOpInsertText).Str(s); }

void CallSequences() {
  auto seed = [](const char *name, const Encoder &e) { Seed("api", name, e.bytes()); };

  Encoder text;
  text.Call(kOpPaper).Int(12240).Int(15840).Int(0);
  text.Call(kOpMargin).Int(1440).Int(1440).Int(720).Int(720).Int(360).Int(-1);
  text.Call(kOpInitSect).Call(kOpSectInfo).Int(2).Int(720).Int(1).Int(1);
  text.Call(kOpBeginHdrFtr).Int(HDRFTR_HEADER_FIRST);
  text = Text(text, "Page ");
  text.Call(kOpInsertPageField).Int(1).Call(kOpEndHdrFtr);
  text.Call(kOpBeginSectText);
  text = Text(text, "Hello {world} \\ caf\xe9\r\n");
  text.Call(kOpInsertUText).Wide(u"Gr\u00fc\u00dfe \u4f60\u597d\r\n");
  text.Call(kOpInsertBookmark).Str("Intro").Int(1);
  text = Text(text, "Bookmarked");
  text.Call(kOpInsertBookmark).Str("Intro").Int(0);
  text.Call(kOpInsertFootnote).Str("ab").Str("A note.\r\nSecond paragraph");
  text.Call(kOpInsertFootnote).Null().Str("Numbered");
  text.Call(kOpInsertMergeField).Str("Customer").Str("Name");
  text.Call(kOpInsertTocField).Int(1).Int(3);
  text.Call(kOpInsertBreak).Int(BREAK_PAGE);
  text.Call(kOpInsertText).Long(13, 'w');
  text.Call(kOpInsertBreak).Int(BREAK_SECTION);
  text = Text(text, "Second section\r\n");
  text.Call(kOpGetData).Call(kOpSaveFile).Choice(2);
  seed("text", text);

  Encoder styles;
  styles.Call(kOpBeginStyleSheet);
  styles.Call(kOpBeginStyleItem).Int(1).Int(1).Str("Heading");
  styles.Call(kOpParaFlags).Int(PARA_CENTER | PARA_KEEP_NEXT);
  styles.Call(kOpTextFont).Str("Arial").Int(14).Int(CHAR_BOLD).Int(1);
  styles.Call(kOpEndStyleItem);
  styles.Call(kOpBeginStyleItem).Int(0).Int(2).Long(12, 'S');
  styles.Call(kOpTextFont2).Str("Courier New").Int(-21).Int(CHAR_ITALIC | CHAR_CAPS).Int(0).Int(1);
  styles.Call(kOpBeginScriptStyle).Int(1).Call(kOpEndScriptStyle);
  styles.Call(kOpEndStyleItem).Call(kOpEndStyleSheet);
  const char *faces[] = {"Times New Roman", "Symbol", "Wingdings", "Verdana", "Tahoma",
                         "Georgia", "Garamond", "Consolas", "Calibri", "Cambria", "Unknown"};
  for (const char *face : faces) styles.Call(kOpTextFont).Str(face).Int(11).Int(0x3FFFF).Int(1);
  for (int32_t c = 0; c < 12; ++c) styles.Call(kOpTextColor).Int(c * 0x151515).Int(c & 1);
  styles.Call(kOpParaShadeColor).Int(-1).Int(0xFF8000);
  styles.Call(kOpParaShadeColor).Int(250).Int(0);
  styles.Call(kOpParaFlags).Int(0xFFFFFFFF);
  styles.Call(kOpParaIndent).Int(720).Int(-1).Int(-360);
  styles.Call(kOpParaSpace).Int(120).Int(240).Int(-1);
  styles.Call(kOpParaTabStop).Int(TAB_DECIMAL).Int(2880).Int(TAB_LEADER_DOT);
  for (int32_t style = 0; style <= 7; ++style)
    styles.Call(kOpParaBullet).Int(1).Int(style).Int(0).Int(1).Null().Null().Int(0);
  styles.Call(kOpParaBullet).Int(0).Int(3).Int(2).Int(4).Str("(").Str(")").Int(BULLET_CONTINUE);
  styles.Call(kOpCharStyleId).Int(2).Call(kOpParaStyleId).Int(1);
  styles = Text(styles, "Styled\tparagraph\r\n");
  styles.Call(kOpResetTextProp).Call(kOpResetParaProp);
  styles.Call(kOpGetData);
  seed("styles", styles);

  Encoder table;
  auto cell = [&](int32_t width) {
    table.Call(kOpNextCellInfo3).Int(width).Int(1).Int(25).Int(0x00FF00).Int(10).Int(20).Int(30)
        .Int(40).Int(0xFF).Int(CELL_MERGE_FIRST | CELL_VMERGE_FIRST).Int(CELL_TEXT_BTLR);
  };
  table = Text(table, "Before the table");
  table.Call(kOpBeginTableRow).Int(108).Int(-400).Int(ROW_CENTER).Int(1).Int(0);
  for (int i = 0; i < 12; ++i) cell(900);
  for (int i = 0; i < 12; ++i) {
    table.Call(kOpBeginCellText);
    if (i == 1) {
      table.Call(kOpBeginTableRow2).Int(0).Int(0).Int(0).Int(0).Int(108).Int(108).Int(20).Int(0);
      cell(700);
      cell(700);
      for (int j = 0; j < 2; ++j) {
        table.Call(kOpBeginCellText);
        if (j == 0) {
          table.Call(kOpBeginTableRow).Int(0).Int(0).Int(ROW_RIGHT).Int(0).Int(60);
          cell(300);
          table.Call(kOpBeginCellText);
          table = Text(table, "deep");
          table.Call(kOpEndCellText).Call(kOpEndTableRow);
        }
        table = Text(table, "nested");
        table.Call(kOpEndCellText);
      }
      table.Call(kOpEndTableRow);
    }
    table.Call(kOpResetParaProp);
    table = Text(table, "cell");
    table.Call(kOpEndCellText);
  }
  table.Call(kOpEndTableRow).Call(kOpGetData);
  seed("nested_table", table);

  Encoder objects;
  objects = Text(objects, "Around the frame");
  objects.Call(kOpBeginFrame).Int(1).Int(1440).Int(720).Int(2880).Int(1440);
  objects = Text(objects, "In the frame\r\n");
  objects.Call(kOpParaFlags).Int(PARA_BORDER_BOX | PARA_BORDER_WIDE);
  objects.Call(kOpBeginTableRow).Int(0).Int(0).Int(0).Int(0).Int(0);
  objects.Call(kOpNextCellInfo).Int(1440).Int(0).Int(0).Int(CELL_NO_BGCOLOR).Int(0).Int(0).Int(0).Int(0).Int(0);
  objects.Call(kOpBeginCellText);
  objects = Text(objects, "framed cell");
  objects.Call(kOpEndCellText).Call(kOpEndTableRow);
  objects.Call(kOpBeginTextBox).Int(0).Int(100).Int(100).Int(2000).Int(1000).Int(2).Int(0x4080FF)
      .Int(0).Int(0).Int(1);
  objects = Text(objects, "box in frame");
  objects.Call(kOpEndTextBox).Call(kOpEndFrame);
  objects.Call(kOpBeginTextBox2).Int(1).Int(0).Int(0).Int(1440).Int(720).Int(0).Int(0xFFFFFF)
      .Int(0xFF).Int(20).Int(0).Int(TEXTBOX_TEXT_TBRL);
  objects = Text(objects, "vertical");
  objects.Call(kOpEndTextBox);
  objects.Call(kOpDrawRect).Int(0).Int(0).Int(0).Int(500).Int(500).Int(3).Int(0xFF0000).Int(0)
      .Int(15).Int(0);
  objects.Call(kOpDrawLine).Int(1).Int(900).Int(100).Int(300).Int(500).Int(0).Int(0x00FF00).Int(0);
  objects.Call(kOpGetData);
  seed("objects", objects);

  Encoder pictures;
  for (uint8_t file = 0; file < 12; ++file)
    pictures.Call(kOpInsertPictFile).Choice(file).Int(0).Int(0).Int(0);
  pictures.Call(kOpInsertPictFile).Choice(12).Str("C:\\pics\\a {b}.bmp").Int(1440).Int(720).Int(1);
  pictures.Call(kOpWritePictureFile).Str(BmpFile(PackedDib(2, 2, 24), 40));
  pictures.Call(kOpInsertPictFile).Choice(9).Int(2880).Int(0).Int(0);
  for (uint8_t handle : {0, 1, 2, 3, 4, 5}) {  // null, blocks, metafile, EMF, no handles
    for (int32_t format : {0, 3, 8, 14}) {
      for (uint8_t index = 0; index < (handle == 1 ? 4 : 1); ++index) {
        pictures.Call(kOpPastePicture).Int(format).Choice(handle);
        if (handle >= 1 && handle <= 3) pictures.Byte(index);
        pictures.Int(0).Int(0);
      }
    }
  }
  pictures.Call(kOpClipboardSetData).Int(3).Int(8).Int(2540).Int(2540).Null();
  pictures.Call(kOpClipboardSetData).Int(8).Int(0).Int(0).Int(0).Str(PackedDib(3, 1, 24));
  pictures.Call(kOpClipboardSetData).Int(14).Int(0).Int(0).Int(0).Null();
  for (int32_t format : {0, 3, 8, 14, 2})
    pictures.Call(kOpPastePicture).Int(format).Choice(0).Int(1440).Int(1440);
  pictures.Call(kOpClipboardEmpty).Call(kOpPastePicture).Int(0).Choice(0).Int(0).Int(0);
  pictures.Call(kOpMetaFileFromBits).Null().Call(kOpEnhMetaFileFromBits).Null();
  pictures.Call(kOpDeleteMetaFile).Choice(2).Byte(0).Call(kOpDeleteEnhMetaFile).Choice(3).Byte(0);
  pictures.Call(kOpGetData);
  seed("pictures", pictures);

  Encoder handles;
  handles.Call(kOpStrToHandle).Int(250).Choice(1);
  for (int32_t offset : {0, 100, 200, 250}) {  // the new block is the pool's sixth
    handles.Call(kOpStrToHandleInChunks).Int(250).Int(offset).Int(100).Choice(1);
    if (offset != 0) handles.Choice(1).Byte(5);
  }
  handles.Call(kOpHandleToStrInChunks).Choice(1).Byte(5).Int(250).Int(200).Int(100).Choice(1);
  handles.Call(kOpHandleToStr).Choice(1).Byte(0).Int(3).Choice(1);
  handles.Call(kOpMakeMbcs).Int(10).Choice(0).Call(kOpMakeMbcs).Int(-2).Choice(4);
  handles.Call(kOpMemAlloc).Int(64).Call(kOpMemLock).Choice(1).Byte(0);
  handles.Call(kOpMemSize).Choice(1).Byte(0).Call(kOpMemUnlock).Choice(1).Byte(0);
  handles.Call(kOpMemFree).Choice(1).Byte(0).Call(kOpMemFree).Choice(2);
  handles.Call(kOpEnumFont).Int(2).Int(0x22).Str("Symbol").Choice(1).Int(4);
  handles.Call(kOpSetMessageSink).Choice(1).Call(kOpWep).Int(0).Call(kOpResetLastMessage);
  seed("handles", handles);

  Encoder refusals;
  refusals.Call(kOpBeginStyleSheet).Call(kOpBeginStyleItem).Int(1).Int(0).Null();
  refusals = Text(refusals, "refused in a style item");
  refusals.Call(kOpGetLastMessage).Choice(0);
  refusals.Call(kOpEndStyleSheet).Call(kOpEndStyleItem).Call(kOpEndStyleSheet);
  refusals.Call(kOpEndHdrFtr).Call(kOpEndCellText).Call(kOpEndTableRow).Call(kOpEndFrame);
  refusals.Call(kOpBeginCellText).Call(kOpNextCellInfo).Int(1).Int(0).Int(0).Int(0).Int(0).Int(0)
      .Int(0).Int(0).Int(0);
  refusals.Call(kOpBeginScriptStyle).Int(0).Call(kOpTextFont).Str("Arial").Int(0).Int(0).Int(1);
  refusals.Call(kOpBeginScriptStyle).Int(1).Call(kOpEndScriptStyle).Call(kOpEndScriptStyle);
  refusals.Call(kOpSetFlags).Choice(1).Int(1).Int(FLAG_ONE_MSG_BOX);
  refusals.Call(kOpInsertBreak).Int(7).Call(kOpBeginHdrFtr).Int(0).Call(kOpBeginHdrFtr).Int(1);
  refusals.Call(kOpNullDocNext).Call(kOpInsertText).Str("no document");
  refusals.Call(kOpNullDocNext).Call(kOpGetData).Call(kOpNullDocNext).Call(kOpEndGroup);
  refusals.Call(kOpSwitchDoc).Call(kOpSetFlags).Choice(0).Int(1).Int(FLAG_NO_MSG_BOX);
  refusals.Call(kOpNewDoc).Call(kOpInsertMergeField).Str("").Null();
  refusals.Call(kOpGetLastMessage).Choice(3).Call(kOpSwitchDoc);
  seed("refusals", refusals);

  Encoder extremes;
  extremes.Call(kOpBeginStyleSheet).Call(kOpBeginStyleItem).Int(1).Int(INT32_MAX).Long(14, '}');
  extremes.Call(kOpEndStyleItem).Call(kOpEndStyleSheet);
  extremes.Call(kOpTextFont).Long(14, 'F').Int(INT32_MIN).Int(-1).Int(0);
  extremes.Call(kOpInsertTocField).Int(INT32_MIN).Int(INT32_MAX);
  extremes.Call(kOpParaShadeColor).Int(INT32_MAX).Int(0).Call(kOpParaShadeColor).Int(INT32_MIN).Int(-1);
  extremes.Call(kOpDrawLine).Int(-1).Int(INT32_MIN).Int(INT32_MAX).Int(INT32_MAX).Int(INT32_MIN)
      .Int(INT32_MAX).Int(-1).Int(INT32_MIN);
  extremes.Call(kOpInsertPictFile).Choice(0).Int(INT32_MAX).Int(INT32_MIN).Int(0);
  extremes.Call(kOpInsertPictFile).Choice(12).Long(14, '\\').Int(0).Int(0).Int(0);
  extremes.Call(kOpInsertPictFile).Choice(12).Long(14, '\\').Int(7).Int(7).Int(1);
  extremes.Call(kOpPastePicture).Int(8).Choice(1).Byte(0).Int(INT32_MIN).Int(INT32_MAX);
  extremes.Call(kOpInsertControl).Long(13, 'q').Int(1).Int(INT32_MIN);
  extremes.Call(kOpInsertText).Byte(3).Byte(14);
  extremes.Call(kOpStrToHandleInChunks).Int(100).Int(INT32_MAX).Int(INT32_MAX).Choice(1).Choice(0);
  extremes.Call(kOpHandleToStrInChunks).Choice(1).Byte(0).Int(INT32_MIN).Int(0).Int(INT32_MAX).Choice(1);
  extremes.Call(kOpMakeMbcs).Int(INT32_MIN).Choice(0);
  extremes.Call(kOpBeginHdrFtr).Int(INT32_MIN).Call(kOpInsertBreak).Int(INT32_MAX);
  extremes.Call(kOpBeginTableRow2).Int(INT32_MAX).Int(INT32_MIN).Int(-1).Int(-1).Int(INT32_MIN)
      .Int(INT32_MAX).Int(-1).Int(1);
  extremes.Call(kOpNextCellInfo3).Int(INT32_MAX).Int(INT32_MIN).Int(INT32_MAX).Int(-2).Int(-1)
      .Int(INT32_MAX).Int(1).Int(INT32_MIN).Int(-1).Int(-1).Int(INT32_MIN);
  extremes.Call(kOpNextCellInfo).Int(INT32_MAX).Int(0).Int(0).Int(0).Int(0).Int(0).Int(0).Int(0).Int(0);
  seed("extremes", extremes);

  // Memory running out in the middle: the calls that follow must stay safe.
  for (uint8_t n : {1, 2, 3, 5, 8}) {
    Encoder oom;
    oom.Call(kOpFailAllocation).Choice(static_cast<uint8_t>(n - 1));
    for (int i = 0; i < 3; ++i) {
      oom.Call(kOpTextFont).Str("Face" + std::to_string(i * 4 + n)).Int(10).Int(1).Int(1);
      oom.Call(kOpInsertText).Long(14, 'o');
      oom.Call(kOpTextColor).Int(i + 0x100 * n).Int(1);
    }
    oom.Call(kOpBeginTableRow).Int(0).Int(0).Int(0).Int(0).Int(0);
    oom.Call(kOpNextCellInfo).Int(1440).Int(0).Int(0).Int(7).Int(0).Int(0).Int(0).Int(0).Int(0);
    oom.Call(kOpBeginCellText).Call(kOpInsertPictFile).Choice(5).Int(0).Int(0).Int(0);
    oom.Call(kOpEndCellText).Call(kOpEndTableRow).Call(kOpGetData).Call(kOpSaveFile).Choice(2);
    oom.Call(kOpStrToHandle).Int(10).Choice(1);
    seed(("out_of_memory_" + std::to_string(n)).c_str(), oom);
  }

  Encoder raw;
  raw.Call(kOpBeginGroup).Str("fldinst").Int(1).Call(kOpInsertControl).Str("fs").Int(1).Int(-4);
  raw.Call(kOpInsertRaw).Str("{\\b raw}\r\n").Call(kOpEndGroup).Call(kOpBeginGroup).Null().Int(0);
  raw.Call(kOpGetData);
  seed("raw", raw);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  g_out = argv[1];
  PictureFiles();
  PasteHandles();
  CallSequences();
  return 0;
}
