// The TextMate grammar on the built-in documents (written by scenario_tool
// write-documents, SCENARIO_TOOL): every row's keyword field is a keyword,
// every section header a section, and every record keyword the authors'
// reference names (docs/authoring.md) is highlighted as a keyword.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const vsctm = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const here = path.join(__dirname, '..');
const tool = process.env.SCENARIO_TOOL;
assert.ok(tool, 'SCENARIO_TOOL must be set');

async function grammar() {
  const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm')).buffer;
  await oniguruma.loadWASM(wasm);
  const registry = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async () => vsctm.parseRawGrammar(
      fs.readFileSync(path.join(here, 'syntaxes/scenario.tmLanguage.json'), 'utf8'), 'scenario.tmLanguage.json'),
  });
  return registry.loadGrammar('source.scenario');
}

// The scopes of the character at `column` of each tokenised line.
function scopesAt(g, lines) {
  let state = vsctm.INITIAL;
  return lines.map((line) => {
    const r = g.tokenizeLine(line, state);
    state = r.ruleStack;
    return (column) => (r.tokens.find((t) => t.startIndex <= column && column < t.endIndex) || { scopes: [] }).scopes;
  });
}

function builtInDocuments() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'grammar-test-'));
  try {
    execFileSync(tool, ['write-documents', dir]);
    const decode = new TextDecoder('windows-1252');
    return ['Bresta_Vilcar_linea.txt', 'Bresta_Vilcar_RX907-.txt'].map(
      (name) => decode.decode(fs.readFileSync(path.join(dir, name))).split('\r\n'));
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

test('every row of the built-in documents has its keyword and numbers highlighted', async () => {
  const g = await grammar();
  const [line, train] = builtInDocuments();
  let rows = 0;
  for (const doc of [line, train]) {
    const scopes = scopesAt(g, doc);
    const body = doc.indexOf('[generale]');
    doc.forEach((text, i) => {
      if (i <= body || text.trim() === '') return;
      if (text.trimStart().startsWith('[')) {
        assert.ok(scopes[i](text.indexOf('[')).includes('entity.name.section.scenario'), text);
        return;
      }
      rows += 1;
      assert.ok(scopes[i](0).includes('keyword.other.record.scenario'), `${text}: ${scopes[i](0)}`);
      const number = text.search(/,\s*-?\d/);
      const digit = text.slice(number).search(/[-\d]/) + number;
      assert.ok(scopes[i](digit).includes('constant.numeric.integer.scenario'), `${text} at ${digit}`);
    });
  }
  assert.ok(rows > 200, `only ${rows} rows`);
});

test("every record keyword of the authors' reference is highlighted as a keyword", async () => {
  const g = await grammar();
  const reference = fs.readFileSync(path.join(here, '../../docs/authoring.md'), 'utf8');
  const keywords = new Set();
  // The headings of the record kinds: "### 3.3 Gradient (`pendenza`)".
  for (const m of reference.matchAll(/^### [34]\.\d+ .*$/gm)) {
    for (const k of m[0].matchAll(/`([^`]+)`/g)) keywords.add(k[1]);
  }
  // The keyword tests of the tables: "| Route length | `lunghezza` and `percorso` | ...".
  for (const m of reference.matchAll(/^\| [^|]+\| (`[a-z_]+` and `[^|]+)\|/gm)) {
    keywords.add([...m[1].matchAll(/`([^`]+)`/g)].map((k) => k[1]).join(' '));
  }
  // The one-word tests of the train description's table: "| 2 | `vetture` | cars | ...".
  for (const m of reference.matchAll(/^\| \d+ \| `([a-z_]+)` \| [a-z]/gm)) keywords.add(m[1]);
  assert.ok(keywords.size >= 20, [...keywords].join(', '));
  for (const keyword of keywords) {
    const [scopes] = scopesAt(g, [`${keyword},  100`]);
    assert.ok(scopes(0).includes('keyword.other.record.scenario'), `${keyword}: ${scopes(0)}`);
  }
});
