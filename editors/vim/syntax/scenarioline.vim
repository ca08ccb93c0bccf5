" Highlighting of the line source files (*_linea.txt), generated from the record tables by `scenario syntax`: do not edit.
if exists('b:current_syntax')
  finish
endif

syn match scenarioNumber /-\?\<\d\+\>/
syn match scenarioRecord /\c^\%([^,]*lunghezza\)\@=\%([^,]*percorso\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*progressiva\)\@=\%([^,]*tre\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*progressiva\)\@=\%([^,]*due\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*progressiva\)\@=\%([^,]*uno\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*sfondo\)\@=\%([^,]*uno\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*sfondo\)\@=\%([^,]*due\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*sfondo\)\@=\%([^,]*tre\)\@=[^,]*/
syn match scenarioRecord /\C^\%([^,]*segnali\)\@=\%([^,]*ripetizione\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*pendenza\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*curva\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*montagna\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*indicatori_v\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*indicat\)\@=\%([^,]*cartello\)\@=[^,]*/
syn match scenarioHeader /^\s*\[[^\]]*\]/
syn match scenarioComment /^[^,]*-.*$/

hi def link scenarioNumber Number
hi def link scenarioRecord Keyword
hi def link scenarioHeader Title
hi def link scenarioComment Comment

let b:current_syntax = 'scenarioline'
