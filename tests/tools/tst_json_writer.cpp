#include <QtTest>

#include <cmath>
#include <limits>

#include "json_writer.h"

using namespace orvanta;

class TestJsonWriter : public QObject {
    Q_OBJECT
private slots:
    void quoted_data();
    void quoted();
    void emptyKeyIsAKey();
    void nonFiniteNumbers();
};

void TestJsonWriter::quoted_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("plain") << QByteArray("Saturn") << QByteArray(R"("Saturn")");
    QTest::newRow("quote and backslash") << QByteArray(R"(a"b\c)") << QByteArray(R"("a\"b\\c")");
    QTest::newRow("short escapes") << QByteArray("\b\f\n\r\t") << QByteArray(R"("\b\f\n\r\t")");
    QTest::newRow("other control characters") << QByteArray("\x01\x1f", 2) << QByteArray(R"("\u0001\u001f")");
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray(R"("a\u0000b")");
    QTest::newRow("DEL passes") << QByteArray("\x7f") << QByteArray("\"\x7f\"");
    QTest::newRow("degree sign passes") << QByteArray("16\xC2\xB0") << QByteArray("\"16\xC2\xB0\"");
    QTest::newRow("four-byte sequence passes") << QByteArray("\xF0\x9F\x98\x80") << QByteArray("\"\xF0\x9F\x98\x80\"");
    QTest::newRow("lone continuation byte") << QByteArray("a\x80z") << QByteArray("\"a\xEF\xBF\xBDz\"");
    QTest::newRow("cut-off sequence at the end") << QByteArray("a\xC2") << QByteArray("\"a\xEF\xBF\xBD\"");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QByteArray("\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80")
                               << QByteArray("\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80")
                                     << QByteArray("\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
}

void TestJsonWriter::quoted() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, json);
    std::string out;
    JsonWriter::AppendQuoted(out, std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QCOMPARE(QByteArray::fromStdString(out), json);
    QJsonParseError error;
    QJsonDocument::fromJson("[" + json + "]", &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
}

void TestJsonWriter::emptyKeyIsAKey() {
    JsonWriter out;
    out.BeginObject();
    out.String("", "a");
    out.BeginArray("");
    out.Integer(1);
    out.String("");
    out.EndArray();
    out.EndObject();
    QCOMPARE(QString::fromStdString(out.Text()), QStringLiteral(R"({"": "a", "": [1, ""]})"));
}

void TestJsonWriter::nonFiniteNumbers() {
    JsonWriter out;
    out.BeginArray();
    out.Number(std::numeric_limits<double>::quiet_NaN());
    out.Number(std::numeric_limits<double>::infinity());
    out.Number(-std::numeric_limits<double>::infinity());
    out.Number(0.1);
    out.EndArray();
    QCOMPARE(QString::fromStdString(out.Text()), QStringLiteral("[null, null, null, 0.1]"));
}

QTEST_APPLESS_MAIN(TestJsonWriter)
#include "tst_json_writer.moc"
