#include "settings/RecordLayout.h"

#include "settings/SettingsRecord.h"

#include <QtTest>

// Guards the field table against typos: a wrong offset would silently edit a camera byte.
class RecordLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsAreInOrderAlignedAndDisjoint()
    {
        int end = 0;
        for (const FieldSpec& field : Field::all) {
            const QByteArray name(field.name.data(), field.name.size());
            QVERIFY2(field.offset >= end, name.constData());
            QVERIFY2(field.offset + field.width <= SettingsRecord::Size, name.constData());
            if (field.type == FieldType::Int32 || field.type == FieldType::UInt32) {
                QVERIFY2(field.width == 4 && field.offset % 4 == 0, name.constData());
            }
            end = field.offset + field.width;
        }
    }

    void integersAreLittleEndian()
    {
        SettingsRecord record;
        record.SetInt32(Field::time_zone_bias, -300);
        QCOMPARE(record.ToByteArray().mid(372, 4), QByteArray("\xD4\xFE\xFF\xFF", 4));
        record.SetUInt32(Field::config_version, 0x00010002);
        QCOMPARE(record.ToByteArray().mid(4, 4), QByteArray("\x02\x00\x01\x00", 4));
        QCOMPARE(record.Int32(Field::time_zone_bias), -300);
    }

    void textFieldsStopAtNulAndZeroPad()
    {
        SettingsRecord record;
        std::memset(record.Data(), 'x', SettingsRecord::Size);
        record.SetText(Field::time_zone_name, QStringLiteral("Tokyo Standard Time"));
        QCOMPARE(record.Text(Field::time_zone_name), QStringLiteral("Tokyo Standard Time"));
        QCOMPARE(record.Bytes(Field::time_zone_name).mid(19), QByteArray(13, '\0'));
        QCOMPARE(record.Data()[412], 'x'); // the next camera byte is untouched
        record.SetText(Field::product_name, QStringLiteral("A name longer than sixteen"));
        QCOMPARE(record.Text(Field::product_name), QStringLiteral("A name longer th"));
        QCOMPARE(record.Data()[24], 'x');
    }
};

QTEST_GUILESS_MAIN(RecordLayoutTest)
#include "RecordLayoutTest.moc"
