#pragma once
// A room-state file of a few KB as the companion writes it (nested objects, Chinese texts,
// the status member), already converted to GBK: what the live-status check parses.
#include <string>

inline std::string RoomStateDocument() {
  std::string gifts;
  for (int i = 0; i < 40; ++i) {
    if (i > 0) gifts += ',';
    gifts += "{\"id\":" + std::to_string(4000 + i) + ",\"name\":\"礼物" + std::to_string(i) +
             "号·小心心\",\"price\":" + std::to_string(i * 10 + 1) + ",\"combo\":" + (i % 2 ? "true" : "false") + "}";
  }
  return R"({"roomStore":{"status":2,"roomId":"7301234567890123456","title":"今晚一起上分！","startTime":1700000000,)"
         R"("owner":{"nickname":"小明同学","signature":"每晚八点，不见不散","followers":123456,"verified":true},)"
         R"("stats":{"viewers":321,"likes":98765,"comments":4321},"tags":["游戏","王者荣耀","上分"],)"
         R"("settings":{"resolution":"1920x1080","bitrate":6000,"fps":60,"encoder":"x264","mirror":false}},)"
         R"("userStore":{"uid":"98765432101","name":"主播小明","level":32,"badges":["新星","人气主播"]},)"
         R"("giftStore":{"gifts":[)" + gifts + R"(]},"notice":"欢迎来到直播间，请文明发言。"})";
}
