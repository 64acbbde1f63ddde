#pragma once

// The converter's own texts.
constexpr char ConverterCaption[] = "Morvane Converter";
constexpr wchar_t ConverterCaptionW[] = L"Morvane Converter";
