// The VS Code side of scenario_tool lsp: starts the server for the
// documents of the "scenario" language (*_linea.txt, *-.txt) and warns when
// the documents would not be opened and saved as Windows-1252.
'use strict';
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client = null;

async function activate(context) {
  const toolPath = vscode.workspace.getConfiguration('scenarioTool').get('path') || 'scenario_tool';
  const encoding = vscode.workspace.getConfiguration('files', { languageId: 'scenario' }).get('encoding');
  if (encoding !== 'windows1252') {
    vscode.window.showWarningMessage(
      `Scenario documents are Windows-1252, but files.encoding is "${encoding}" for them: ` +
      'an accented letter would be lost on saving. Set "files.encoding": "windows1252" under "[scenario]".');
  }
  client = new LanguageClient(
    'scenarioTool',
    'scenario_tool',
    { command: toolPath, args: ['lsp'] },
    { documentSelector: [{ scheme: 'file', language: 'scenario' }] });
  context.subscriptions.push(client);
  await client.start();
  return client;
}

async function deactivate() {
  if (client) await client.stop();
  client = null;
}

module.exports = { activate, deactivate };
