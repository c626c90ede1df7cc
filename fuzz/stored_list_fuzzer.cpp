// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Feeds arbitrary bytes to the readers of the stored list: the JSON reader,
// and the reader of QSettings' escaped byte-array values. Whatever they
// accept must survive a round trip through the writers unchanged.

#include "storage/json_list_reader.h"
#include "storage/json_list_writer.h"
#include "storage/settings_file_text.h"
#include "support/storage/settings_byte_array.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    if (const auto items = JsonListReader(input).read()) {
        const auto json = JsonListWriter::json(*items);
        if (!json)
            std::abort(); // everything read has finite numbers
        const auto again = JsonListReader(*json).read();
        if (!again || *again != *items)
            std::abort();
        const auto settingsValue = JsonListWriter::settingsValue(*items);
        if (!settingsValue || SettingsFileText::decodeByteArray(*settingsValue) != *json)
            std::abort();
    }

    if (const auto bytes = SettingsFileText::decodeByteArray(input)) {
        if (SettingsFileText::decodeByteArray(settingsByteArrayText(*bytes)) != *bytes)
            std::abort();
    }
    for (const QByteArrayView listKey : {QByteArrayView(), QByteArrayView("marlowick.items")}) {
        if (const auto file = SettingsFileText::parse(input, listKey)) {
            if (file->text() != input)
                std::abort(); // the text of a file is kept as it was
        }
    }
    return 0;
}
