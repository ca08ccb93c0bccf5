-- Runs in headless Neovim set up as README says, on a train file with a typo: waits for its
-- diagnostics, asks for hover, completion and a quick fix, and writes what came back, one line
-- each.
local result = vim.env.SCENARIO_RESULT
local lines = {}
local function note(text) table.insert(lines, text) end

-- The file was opened by README's set-up, which started and attached the server.
local buf = vim.api.nvim_get_current_buf()
note(string.format('filetype %s %s %s', vim.bo.filetype, vim.bo.fileencoding, vim.bo.fileformat))
vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 50)
local _, client = next(vim.lsp.buf_get_clients(buf))
if client == nil then
  note('no language server attached')
  vim.fn.writefile(lines, result)
  vim.cmd('qa!')
  return
end
for _, d in ipairs(vim.diagnostic.get(buf)) do
  local code = d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code) or ''
  note(string.format('diagnostic %d:%d %s %s', d.lnum + 1, d.col, code, d.message))
end

local document = { uri = vim.uri_from_bufnr(buf) }
local hover = client.request_sync('textDocument/hover',
  { textDocument = document, position = { line = 40, character = 13 } }, 10000, buf)
if hover and hover.result then
  note('hover ' .. (hover.result.contents.value:gsub('\n.*', '')))
end
local completion = client.request_sync('textDocument/completion',
  { textDocument = document, position = { line = 41, character = 0 } }, 10000, buf)
if completion and completion.result then
  local first
  for _, item in ipairs(completion.result.items) do
    if first == nil or item.sortText < first.sortText then first = item end
  end
  if first then note('completion ' .. first.label) end
end

local actions = client.request_sync('textDocument/codeAction',
  { textDocument = document, range = { start = { line = 42, character = 0 },
                                       ['end'] = { line = 42, character = 0 } },
    context = { diagnostics = {} } }, 10000, buf)
if actions and actions.result then
  for _, action in ipairs(actions.result) do
    for _, edit in ipairs(action.edit.changes[document.uri] or {}) do
      local r = edit.range
      note(string.format('action %s: %d:%d-%d:%d %s', action.title, r.start.line + 1,
                         r.start.character, r['end'].line + 1, r['end'].character, edit.newText))
    end
  end
end

-- Started with --preview, the server answers the page's address and has told it in a message.
if vim.env.SCENARIO_PREVIEW then
  local preview = client.request_sync('workspace/executeCommand',
    { command = 'scenario.preview' }, 10000, buf)
  if preview and preview.result then note('preview ' .. preview.result) end
  for line in vim.fn.execute('messages'):gmatch('[^\n]+') do
    if line:find('live page', 1, true) then note('message ' .. line) end
  end
end

vim.fn.writefile(lines, result)
client.stop()
vim.cmd('qa!')
