#include "unpacker/ferrule_texts.h"

#include "platform/utf8_text.h"

namespace {
FerruleTexts MakeTexts() {
  FerruleTexts t;
  t.title = "Ferrule 1.0 Beta [By.Vell]";
  const std::string rule(60, '=');
  t.banner = t.title + kLineEnd + kLineEnd +
             TextFromUtf8Source(u8"本程序用于解包[地下城与勇士].Spk后缀名的自动更新文件.") + kLineEnd + kLineEnd +
             TextFromUtf8Source(u8"但本程序尚处于测试,不能确保100%解包!") + kLineEnd + rule + kLineEnd + kLineEnd +
             rule + kLineEnd;
  t.usage = TextFromUtf8Source(u8"程序错误! 错误信息:命令行错误..程序使用命令为 Ferrule.exe [文件名]");
  t.sevenZipBroken = TextFromUtf8Source(u8"程序错误! 错误信息:7z程序不完整或非7z程序!");
  t.unpacked = TextFromUtf8Source(u8"恭喜!解压完毕..使用[VIZ Ivavivoda]即可正常打开!");
  t.notRecognised = TextFromUtf8Source(u8"程序错误! 错误信息:文件识别失败,本程序无法识别此文件格式!");
  t.digestMismatch = TextFromUtf8Source(u8"程序错误! 错误信息:文件哈希校验值错误,文件不完整!");
  t.fileToUnpack = TextFromUtf8Source(u8"需要解包的文件:");
  t.defaultPath = TextFromUtf8Source(u8"文件默认解压路径:");
  t.unpackedSize = TextFromUtf8Source(u8"文件解压后大小:");
  t.bytes = TextFromUtf8Source(u8"字节");
  t.storedDigest = TextFromUtf8Source(u8"文件解压后哈希校验值:");
  t.chunkCount = TextFromUtf8Source(u8"文件包含分包数:");
  t.chunkUnit = TextFromUtf8Source(u8"个");
  t.progress = t.title + TextFromUtf8Source(u8"当前解压进度");
  return t;
}
}  // namespace

const FerruleTexts& Texts() {
  static const FerruleTexts texts = MakeTexts();
  return texts;
}
