#include "core/richtext/twprtfstorage.h"

#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"

#include <QTextDocument>

namespace Dayloom {

bool TWPRtfStorage::LoadInto(QTextDocument &doc, QString *error) const
{
    if (m_rtf.isEmpty()) {
        doc.clear();
        return true;
    }
    RtfReader reader;
    const bool ok = reader.Read(m_rtf, doc);
    if (!ok && error)
        *error = reader.errorString();
    return ok;
}

void TWPRtfStorage::StoreFrom(const QTextDocument &doc)
{
    if (doc.isEmpty())
        m_rtf.clear();
    else
        m_rtf = RtfWriter::ToRtf(doc);
}

} // namespace Dayloom
