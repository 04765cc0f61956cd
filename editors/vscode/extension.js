// The VS Code side of scenario_tool lsp: starts the server for the
// documents of the "scenario" language (*_linea.txt, *-.txt) and warns when
// the documents would not be opened and saved as Windows-1252.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client = null;

// Whether FILE is a program this system can start.
function isProgram(file, platform) {
  try {
    if (!fs.statSync(file).isFile()) return false;
    if (platform !== 'win32') fs.accessSync(file, fs.constants.X_OK);
    return true;
  } catch {
    return false;
  }
}

// The program that serves the documents: the setting scenarioTool.path when
// it is given (a path, or a name looked up on the PATH), else scenario_tool on
// the PATH. An installed extension cannot know where the release archive was
// unpacked, so the setting is how an author points it at that folder's program.
// Returns { program } or { error } naming what was looked for.
function findTool(setting, env, platform, home) {
  const paths = platform === 'win32' ? path.win32 : path.posix;
  const fix = 'Set "scenarioTool.path" to the full path of scenario_tool in the folder of the unpacked ' +
    'release archive, or add that folder to the PATH, then reload the window.';
  let given = (setting || '').trim();
  if (given.startsWith('~/') && home) given = paths.join(home, given.slice(2));
  if (given.includes('/') || (platform === 'win32' && given.includes('\\'))) {
    if (isProgram(given, platform)) return { program: given };
    return { error: `Scenario documents: scenario_tool was not found: the setting scenarioTool.path is "${given}", which is not a program file. ${fix}` };
  }
  let name = given || 'scenario_tool';
  if (platform === 'win32' && !paths.extname(name)) name += '.exe';
  // Windows writes the variable as "Path".
  const pathVariable = Object.keys(env).find((key) => key.toUpperCase() === 'PATH');
  const folders = ((pathVariable && env[pathVariable]) || '').split(paths.delimiter).filter((f) => f !== '');
  for (const folder of folders) {
    const candidate = paths.join(folder, name);
    if (isProgram(candidate, platform)) return { program: candidate };
  }
  const setTo = given ? `is "${given}"` : 'is empty';
  return {
    error: `Scenario documents: scenario_tool was not found: the setting scenarioTool.path ${setTo}, ` +
      `and no folder of the PATH holds ${name}. ${fix}`,
  };
}

async function activate(context) {
  const setting = vscode.workspace.getConfiguration('scenarioTool').get('path');
  const encoding = vscode.workspace.getConfiguration('files', { languageId: 'scenario' }).get('encoding');
  if (encoding !== 'windows1252') {
    vscode.window.showWarningMessage(
      `Scenario documents are Windows-1252, but files.encoding is "${encoding}" for them: ` +
      'an accented letter would be lost on saving. Set "files.encoding": "windows1252" under "[scenario]".');
  }
  const found = findTool(setting, process.env, process.platform, os.homedir());
  if (found.error) {
    const open = 'Open Settings';
    vscode.window.showErrorMessage(found.error, open).then((choice) => {
      if (choice === open) vscode.commands.executeCommand('workbench.action.openSettings', 'scenarioTool.path');
    });
    return null;
  }
  client = new LanguageClient(
    'scenarioTool',
    'scenario_tool',
    { command: found.program, args: ['lsp'] },
    { documentSelector: [{ scheme: 'file', language: 'scenario' }] });
  context.subscriptions.push(client);
  await client.start();
  return client;
}

async function deactivate() {
  if (client) await client.stop();
  client = null;
}

module.exports = { activate, deactivate, findTool };
