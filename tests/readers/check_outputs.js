'use strict';
// Reads the golden Cabrillo and ADIF files of tests/scoring/golden (which the
// C++ golden-file tests prove equal, byte for byte, to what the logger writes)
// with parsers written by others, and checks that every contact comes through
// with its fields intact:
//   - ADIF: tcadif's field reader and its field and record validators;
//   - Cabrillo: the cabrillo package's reader, which takes the contact fields
//     from the fixed columns of the default template, and the reading the
//     Cabrillo format itself defines, fields separated by blanks.
// Usage: node --test check_outputs.js [golden folder]

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { Field, QSO, defs } = require('tcadif');
const cabrillo = require('cabrillo');

const goldenDir = path.resolve(process.argv[2] ?? path.join(__dirname, '..', 'scoring', 'golden'));
const fixtures = ['instate', 'outstate'];

// The program's digital mode code. Cabrillo knows it; ADIF's mode
// enumeration does not, so tcadif's validator refuses it.
const DIGITAL = 'DG';

// The files are 8-bit text: one character per byte.
const readText = (name) => fs.readFileSync(path.join(goldenDir, name), 'latin1');
const readExpected = (fixture) => JSON.parse(readText(`${fixture}.expected.json`));

// The header fields and the records of an ADIF text, read with tcadif's
// field reader one tag after the other (ADIF.parse stops at the first record
// that fails validation; here each record is validated on its own).
function readAdif(text) {
    let header = null;
    const records = [];
    let fields = [];
    for (;;) {
        const field = Field.parse(text);
        if (field === null) break;
        text = text.slice(field.bytesConsumed);
        if (field.fieldName === 'EOH') {
            header = Object.fromEntries(fields);
            fields = [];
        } else if (field.fieldName === 'EOR') {
            records.push(Object.fromEntries(fields));
            fields = [];
        } else {
            fields.push(field.toEntry());
        }
    }
    return { header, records, unfinished: fields, rest: text };
}

const qsoFieldDefs = new Map(Object.values(defs.qso).map((Def) => {
    const def = new Def();
    return [def.fieldName, def];
}));

// Validates each field of a record with tcadif's definition of that field.
function validateFields(record) {
    for (const [name, value] of Object.entries(record)) {
        const def = qsoFieldDefs.get(name);
        assert.ok(def, `${name} is an ADIF field`);
        if (name === 'MODE' && value === DIGITAL) continue;
        assert.doesNotThrow(() => def.validate(def.normalize(value)), `${name} ${value}`);
    }
}

for (const fixture of fixtures) {
    const expected = readExpected(fixture);

    test(`${fixture}: ADIF file read by tcadif`, async (t) => {
        const adif = readAdif(readText(expected.adif.file));
        assert.ok(adif.header, 'the header ends with <EOH>');
        assert.deepEqual(adif.unfinished, [], 'no fields after the last <eor>');
        assert.match(adif.rest, /^\s*$/, 'nothing but blank lines after the last record');
        assert.equal(adif.records.length, expected.adif.records.length);

        for (const [i, want] of expected.adif.records.entries()) {
            await t.test(`record ${i + 1} ${want.CALL}`, () => {
                const record = adif.records[i];
                for (const [name, value] of Object.entries(want)) {
                    assert.equal(record[name], value, name);
                }
                validateFields(record);
                if (record.MODE === DIGITAL) {
                    assert.throws(() => new QSO(record), /enumeration/,
                        'tcadif refuses the mode DG as it stands in the file');
                    const required = ['QSO_DATE', 'TIME_ON', 'CALL', 'BAND'];
                    for (const name of required) assert.ok(record[name], `${name} present`);
                } else {
                    const qso = new QSO(record).toObject();
                    for (const name of ['CALL', 'QSO_DATE', 'TIME_ON', 'BAND', 'MODE', 'DXCC']) {
                        assert.equal(qso[name], want[name], `${name} after validation`);
                    }
                }
            });
        }
    });

    test(`${fixture}: Cabrillo file read by the cabrillo package and by blanks`, async (t) => {
        const text = readText(expected.cabrillo.file);
        const log = cabrillo.cabrilloToObject(text);
        for (const [name, value] of Object.entries(expected.cabrillo.header)) {
            assert.equal(log[name]?.trim(), value, name);
        }
        assert.equal(Number(log['CLAIMED-SCORE'].trim()), expected.cabrillo.claimedScore);
        assert.match(text, /\r\nEND-OF-LOG:\r\n$/, 'the file ends with END-OF-LOG:');

        const lines = text.split('\r\n').filter((line) => line.startsWith('QSO:'));
        const wants = expected.cabrillo.qsos;
        assert.equal(lines.length, wants.length, 'one QSO: line per contact');
        assert.equal(log.QSO.length, wants.length, 'the package reads every QSO: line');

        for (const [i, want] of wants.entries()) {
            await t.test(`line ${i + 1} ${want.rcvdcall}`, () => {
                // Read as the format defines it: fields separated by blanks.
                const tokens = lines[i].trim().split(/ +/);
                assert.deepEqual(tokens, ['QSO:', want.freq, want.mo, want.date, want.time,
                    want.sentcall, want.sentexch, want.rcvdcall, want.rcvdexch]);

                // The package reads fixed columns. Frequency, mode, date and
                // time always stand in theirs; the other fields stand in the
                // template's columns whenever they fit them (calls up to 13
                // characters, exchanges up to 6), and are then read too.
                const read = log.QSO[i];
                for (const name of ['freq', 'mo', 'date', 'time']) {
                    assert.equal(read[name], want[name], name);
                }
                const fits = want.sentcall.length <= 13 && want.sentexch.length <= 6 &&
                    want.rcvdcall.length <= 13 && want.rcvdexch.length <= 6;
                if (fits) {
                    for (const name of ['sentcall', 'sentexch', 'rcvdcall', 'rcvdexch']) {
                        assert.equal(read[name], want[name], name);
                    }
                }
            });
        }
    });
}
